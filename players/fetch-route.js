// Qt WebEngine offers no fetch() on a scheme of the program's own (nor on file
// URLs), and Ruffle fetches its WebAssembly and the movie with it: the page's
// own URLs go through XHR.
(() => {
  const nativeFetch = window.fetch.bind(window);
  window.fetch = (input, init) => {
    const url = new URL(input instanceof Request ? input.url : String(input), location.href);
    if (url.protocol !== location.protocol)
      return nativeFetch(input, init);
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open("GET", url.href);
      request.responseType = "arraybuffer";
      request.onload = () => {
        if (request.status >= 400)
          return reject(new TypeError("Failed to fetch " + url.href));
        const type = url.pathname.endsWith(".wasm") ? "application/wasm"
                   : request.getResponseHeader("Content-Type") || "application/octet-stream";
        resolve(new Response(request.response, { status: 200, headers: { "Content-Type": type } }));
      };
      request.onerror = () => reject(new TypeError("Failed to fetch " + url.href));
      request.send();
    });
  };
})();
