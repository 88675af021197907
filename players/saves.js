// The games' saves. The engine keeps a game's shared objects in the page's
// local storage; here that storage is the game's saves as the program keeps
// them on disk. The program hands the page a game's saves when the game
// starts, and every change goes back to it within moments, to be written
// whole; a save too large, or one too many for its folder, is refused at
// once, as the original player refused saves beyond its limit.
(() => {
  let host = null; // the program's end, once the web channel is up
  let movie = "";
  let saves = new Map();
  let limits = { bytes: 0, perFolder: 0 };
  const queue = new Map();
  let timer = 0;
  let flushWanted = false;

  const send = () => {
    clearTimeout(timer);
    timer = 0;
    if (!host)
      return;
    for (const change of queue.values()) {
      if (change.value === null)
        host.remove(change.movie, change.key);
      else
        host.put(change.movie, change.key, change.value);
    }
    queue.clear();
    if (flushWanted) {
      flushWanted = false;
      host.flushed();
    }
  };
  const changed = (key, value) => {
    queue.set(`${movie}\n${key}`, { movie, key, value });
    if (!timer)
      timer = setTimeout(send, 50);
  };
  const folderOf = (key) => key.slice(0, key.lastIndexOf("/"));

  const getItem = (key) => (saves.has(String(key)) ? saves.get(String(key)) : null);
  const setItem = (key, value) => {
    key = String(key);
    value = String(value);
    const folder = folderOf(key);
    const others = [...saves.keys()].filter((k) => k !== key && folderOf(k) === folder).length;
    if (value.length > Math.ceil(limits.bytes / 3) * 4 || others >= limits.perFolder)
      throw new DOMException("The game's saves are full", "QuotaExceededError");
    saves.set(key, value);
    changed(key, value);
  };
  const removeItem = (key) => {
    key = String(key);
    if (saves.delete(key))
      changed(key, null);
  };
  const methods = {
    getItem,
    setItem,
    removeItem,
    key: (index) => [...saves.keys()][index] ?? null,
    clear: () => [...saves.keys()].forEach(removeItem),
  };
  const storage = new Proxy(Object.create(null), {
    get(_, key) {
      if (key === "length")
        return saves.size;
      if (Object.hasOwn(methods, key))
        return methods[key];
      return typeof key === "string" && saves.has(key) ? saves.get(key) : undefined;
    },
    set(_, key, value) {
      setItem(key, value);
      return true;
    },
    deleteProperty(_, key) {
      removeItem(key);
      return true;
    },
    has: (_, key) => saves.has(String(key)),
    ownKeys: () => [...saves.keys()],
    getOwnPropertyDescriptor: (_, key) =>
      saves.has(key) ? { value: saves.get(key), writable: true, enumerable: true, configurable: true }
                     : undefined,
  });
  Object.defineProperty(window, "localStorage", { get: () => storage });

  window.pelliwickSaves = {
    // The saves of the movie that starts now; the last one's changes go first.
    use(movieKey, entries, maxBytes, maxPerFolder) {
      send();
      movie = movieKey;
      saves = new Map(Object.entries(entries));
      limits = { bytes: maxBytes, perFolder: maxPerFolder };
    },
    // Everything changed goes now, and the program hears when it has.
    flush() {
      flushWanted = true;
      send();
    },
  };
  new QWebChannel(qt.webChannelTransport, (channel) => {
    host = channel.objects.saves;
    send();
  });
})();
