// Qt WebEngine offers no fetch() on a scheme of the program's own (nor on file
// URLs), and Ruffle fetches its WebAssembly and the movie with it: the page's
// own URLs go through XHR. A movie plays from its file URL, as the original
// player played it; what it fetches by file URL is served from its folder by
// the program's scheme, and the response names the address asked for, which
// is where the movie learns its own address.
//
// A game has only a few of its fetches on their way at a time, and a few
// hundred more wait here; beyond that a fetch fails at once, as the engine
// slows down with every fetch it waits for. What waits when the game ends is
// dropped. So a game that asks for thousands of files at once keeps neither
// the page nor the next game waiting.
(() => {
  const nativeFetch = window.fetch.bind(window);
  const MaxOnTheirWay = 16;
  const MaxWaiting = 256;
  let onTheirWay = 0;
  let waiting = [];
  // Where the program serves the playing game's files, by their path.
  let servedFrom = null;
  // The address a response names; the host page may name the movie's own as
  // it was given.
  window.pelliwickAddressOf = (url) => url.href;

  const request = (url, served) =>
    new Promise((resolve, reject) => {
      const xhr = new XMLHttpRequest();
      xhr.open("GET", served.href);
      xhr.responseType = "arraybuffer";
      xhr.onload = () => {
        if (xhr.status >= 400)
          return reject(new TypeError("Failed to fetch " + url.href));
        const type = url.pathname.endsWith(".wasm") ? "application/wasm"
                   : xhr.getResponseHeader("Content-Type") || "application/octet-stream";
        const response = new Response(xhr.response, { status: 200, headers: { "Content-Type": type } });
        Object.defineProperty(response, "url", { value: window.pelliwickAddressOf(url) });
        resolve(response);
      };
      xhr.onerror = () => reject(new TypeError("Failed to fetch " + url.href));
      xhr.send();
    });
  const next = () => {
    while (onTheirWay < MaxOnTheirWay && waiting.length > 0) {
      const { url, served, resolve, reject } = waiting.shift();
      ++onTheirWay;
      request(url, served).then(resolve, reject).finally(() => {
        --onTheirWay;
        next();
      });
    }
  };

  const fetchGameFile = (url) => {
    if (waiting.length >= MaxWaiting || !servedFrom)
      return Promise.reject(new TypeError("Failed to fetch " + url.href));
    const served = new URL(servedFrom + url.pathname);
    return new Promise((resolve, reject) => {
      waiting.push({ url, served, resolve, reject });
      next();
    });
  };
  // The movie itself, asked for as its game starts, from where the program
  // serves its files: the engine sets itself up for the game meanwhile, and
  // finds it fetched when it asks.
  let early = null;
  window.pelliwickFetchEarly = (address, gameFiles) => {
    servedFrom = gameFiles;
    const url = new URL(address);
    const response = fetchGameFile(url);
    response.catch(() => {});
    early = { href: url.href, response };
  };

  window.fetch = (input, init) => {
    const url = new URL(input instanceof Request ? input.url : String(input), location.href);
    if (url.protocol !== "file:") {
      if (url.protocol !== location.protocol)
        return nativeFetch(input, init);
      return request(url, url);
    }
    if (early?.href === url.href) {
      const { response } = early;
      early = null;
      return response;
    }
    return fetchGameFile(url);
  };
  // The game ends: what it still waits for never comes. Nobody is told, as
  // telling an ended game thousands of times is work for nothing.
  window.pelliwickDropFetches = () => {
    waiting = [];
    early = null;
  };
})();
