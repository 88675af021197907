// The player's settings, which the benchmark's bare page shares so that the
// two play alike: the movie fills the whole area without keeping its
// proportions, plays at once and loops, in high quality, with the player's
// menu, may ask for full screen, and shows nothing of Ruffle's own first.
window.RufflePlayer = {
  config: {
    autoplay: "on",
    unmuteOverlay: "hidden",
    splashScreen: false,
    letterbox: "off",
    scale: "exactFit",
    forceScale: true,
    quality: "high",
    contextMenu: "on",
    menu: true,
    allowFullscreen: true,
    polyfills: false,
    warnOnUnsupportedContent: false,
    showSwfDownload: false,
    openUrlMode: "deny",
    logLevel: "error",
  },
};
