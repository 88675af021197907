// Qt WebEngine offers no fetch() on a scheme of the program's own (nor on file
// URLs), and Ruffle fetches its WebAssembly and the movie with it: the page's
// own URLs go through XHR. A movie plays from its file URL, as the original
// player played it; what it fetches by file URL is served from its folder by
// the program's scheme, and the response names the address asked for, which
// is where the movie learns its own address.
(() => {
  const nativeFetch = window.fetch.bind(window);
  // The address a response names; the host page may name the movie's own as
  // it was given.
  window.pelliwickAddressOf = (url) => url.href;
  window.fetch = (input, init) => {
    const url = new URL(input instanceof Request ? input.url : String(input), location.href);
    const served = url.protocol === "file:"
      ? new URL(`${location.protocol}//${location.host}/game${url.pathname}`) : url;
    if (served.protocol !== location.protocol)
      return nativeFetch(input, init);
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open("GET", served.href);
      request.responseType = "arraybuffer";
      request.onload = () => {
        if (request.status >= 400)
          return reject(new TypeError("Failed to fetch " + url.href));
        const type = url.pathname.endsWith(".wasm") ? "application/wasm"
                   : request.getResponseHeader("Content-Type") || "application/octet-stream";
        const response = new Response(request.response, { status: 200, headers: { "Content-Type": type } });
        Object.defineProperty(response, "url", { value: window.pelliwickAddressOf(url) });
        resolve(response);
      };
      request.onerror = () => reject(new TypeError("Failed to fetch " + url.href));
      request.send();
    });
  };
})();
