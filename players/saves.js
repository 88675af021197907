// The games' saves. The engine keeps a game's shared objects in the page's
// local storage, which answers at once; here that storage is the game's saves
// as the program keeps them on disk, and the page asks the program, waiting
// for its answer: for a save when the game opens it (nothing is read before),
// and whether a save is kept before the game hears that it is. A save the
// program refuses (too large, past the game's budget, a name it does not
// keep) fails at once, and the engine tells the game so, as the original
// player refused saves beyond its limit. The bytes follow within half a
// second, twice a second at most. The player's settings the user changes
// for a game are kept beside its saves, and go to the program at once.
(() => {
  const SendInterval = 500;
  let host = null; // the program's end, once the web channel is up
  let movie = "";
  // The program's word for this movie's questions: the address they go to is
  // the player's own, which a game may ask too, but without the word.
  let token = "";
  // What the game has read or written: its value, or null for no save.
  let known = new Map();
  // The bytes the program let each save take: rewriting it within them
  // needs no question.
  let room = new Map();
  const queue = new Map();
  let timer = 0;
  let sentAt = -Infinity;
  let flushWanted = false;
  // The player's settings each movie's user changed, not yet sent.
  const settingsQueue = new Map();

  // The program's answer, or null when it has none.
  const ask = (question, key, more = "") => {
    let url;
    try {
      url = `${location.protocol}//${location.host}/saves/${question}` +
            `?movie=${encodeURIComponent(movie)}&token=${token}&key=${encodeURIComponent(key)}${more}`;
    } catch {
      return null; // no text names it: a lone surrogate
    }
    const request = new XMLHttpRequest();
    request.open("GET", url, false);
    try {
      request.send();
    } catch {
      return null;
    }
    return request.status === 200 ? request.responseText : null;
  };

  const send = () => {
    clearTimeout(timer);
    timer = 0;
    if (!host)
      return;
    for (const change of queue.values())
      host.put(change.movie, change.key, change.value);
    queue.clear();
    sentAt = performance.now();
    if (flushWanted) {
      flushWanted = false;
      host.flushed();
    }
  };
  const sendSettings = () => {
    if (!host)
      return;
    for (const [movieKey, settings] of settingsQueue)
      host.keepSettings(movieKey, settings.quality ?? "", settings.volume, settings.muted);
    settingsQueue.clear();
  };
  const changed = (key, value) => {
    queue.set(`${movie}\n${key}`, { movie, key, value });
    if (!timer)
      timer = setTimeout(send, Math.max(50, sentAt + SendInterval - performance.now()));
  };
  // The bytes a value of Base64 stands for.
  const bytesOf = (value) =>
    Math.ceil(value.length / 4) * 3 - (value.endsWith("==") ? 2 : value.endsWith("=") ? 1 : 0);

  const getItem = (key) => {
    key = String(key);
    if (!known.has(key))
      known.set(key, ask("get", key));
    return known.get(key);
  };
  const setItem = (key, value) => {
    key = String(key);
    value = String(value);
    const bytes = bytesOf(value);
    if (!(room.get(key) >= bytes)) {
      const answer = ask("put", key, `&bytes=${bytes}`);
      if (answer !== "Done")
        throw new DOMException(`The save was not kept: ${answer}`, "QuotaExceededError");
      room.set(key, bytes);
    }
    known.set(key, value);
    changed(key, value);
  };
  const removeItem = (key) => {
    key = String(key);
    ask("remove", key);
    known.set(key, null);
    room.delete(key);
    queue.delete(`${movie}\n${key}`);
  };
  const keys = () => [...known].filter(([, value]) => value !== null).map(([key]) => key);
  const methods = {
    getItem,
    setItem,
    removeItem,
    key: (index) => keys()[index] ?? null,
    clear: () => keys().forEach(removeItem),
  };
  const storage = new Proxy(Object.create(null), {
    get(_, key) {
      if (key === "length")
        return keys().length;
      if (Object.hasOwn(methods, key))
        return methods[key];
      return typeof key === "string" ? getItem(key) ?? undefined : undefined;
    },
    set(_, key, value) {
      setItem(key, value);
      return true;
    },
    deleteProperty(_, key) {
      removeItem(key);
      return true;
    },
    has: (_, key) => typeof key === "string" && getItem(key) !== null,
    ownKeys: () => keys(),
    getOwnPropertyDescriptor: (_, key) => {
      const value = typeof key === "string" ? getItem(key) : null;
      return value !== null ? { value, writable: true, enumerable: true, configurable: true }
                            : undefined;
    },
  });
  Object.defineProperty(window, "localStorage", { get: () => storage });

  window.pelliwickSaves = {
    // The movie that starts now; the last one's changes go first.
    use(movieKey, movieToken) {
      send();
      movie = movieKey;
      token = movieToken;
      known = new Map();
      room = new Map();
    },
    // Everything changed goes now, and the program hears when it has.
    flush() {
      flushWanted = true;
      send();
    },
    // The user changed the player's settings for this movie: the program
    // keeps them beside its saves, at once.
    keepSettings(settings) {
      settingsQueue.set(movie, settings);
      sendSettings();
    },
  };
  new QWebChannel(qt.webChannelTransport, (channel) => {
    host = channel.objects.saves;
    send();
    sendSettings();
  });
})();
