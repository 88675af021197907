// What a player of a game notices of its engine: the frames the page draws
// each second (its requestAnimationFrame callbacks, counted in the page
// through the DevTools protocol of the browser listening on PORT), and what
// that costs the whole process tree under ROOT_PID: the CPU cores it keeps
// busy meanwhile, and its proportional set size (Pss) at the end.
// Waits for the first page whose URL holds MATCH to play a movie, lets it run
// SETTLE seconds, then counts for SECONDS. Prints one line:
//   fps=F cores=C pss_mb=M renderer=canvas|webgl canvas=WxH
// With AREA (WxH), a browser window whose page is smaller or larger is first
// made to fit: a browser's own window has a frame around its page.
// Usage: node --experimental-websocket frame-rate.mjs PORT MATCH ROOT_PID SETTLE SECONDS [AREA]
import { readFileSync, readdirSync } from "node:fs";

const [port, match, root, settle, seconds, area] = process.argv.slice(2);
const deadline = Date.now() + 60000;
const fail = (why) => {
  console.error(`frame-rate: ${why}`);
  process.exit(1);
};
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The page, once the browser lists it.
let target;
while (!target) {
  if (Date.now() > deadline)
    fail(`no page with "${match}" on port ${port}`);
  try {
    const targets = await (await fetch(`http://127.0.0.1:${port}/json`)).json();
    target = targets.find((t) => t.type === "page" && t.url.includes(match));
  } catch {}
  if (!target)
    await sleep(200);
}
// A DevTools connection: its call(method, params) answers with the result.
const connect = async (address) => {
  const socket = new WebSocket(address);
  await new Promise((opened, failed) => {
    socket.onopen = opened;
    socket.onerror = () => failed(new Error("no DevTools connection"));
  });
  let calls = 0;
  const pending = new Map();
  socket.onmessage = (message) => {
    const answer = JSON.parse(message.data);
    pending.get(answer.id)?.(answer);
    pending.delete(answer.id);
  };
  return (method, params) =>
    new Promise((answered) => {
      const id = ++calls;
      pending.set(id, answered);
      socket.send(JSON.stringify({ id, method, params }));
    }).then((answer) => answer.result);
};
const call = await connect(target.webSocketDebuggerUrl);
const evaluate = (expression) =>
  call("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true })
    .then((result) => result?.result?.value);

// The movie plays once the engine has drawn its canvas in the visible player.
const playing = `(() => {
  const player = [...document.querySelectorAll("ruffle-player")].find((p) => p.offsetWidth > 1);
  const canvas = player?.shadowRoot?.querySelector("canvas");
  if (!canvas || !player.ruffle().metadata)
    return "";
  return (canvas.getContext("2d") ? "canvas" : "webgl") + " " + canvas.width + "x" + canvas.height;
})()`;
let drawing = "";
while (!(drawing = await evaluate(playing))) {
  if (Date.now() > deadline)
    fail("no movie played");
  await sleep(200);
}
if (area) {
  const [width, height] = area.split("x").map(Number);
  const size = async () => (await evaluate("innerWidth + 'x' + innerHeight")).split("x").map(Number);
  let [innerWidth, innerHeight] = await size();
  if (innerWidth !== width || innerHeight !== height) {
    const version = await (await fetch(`http://127.0.0.1:${port}/json/version`)).json();
    const browser = await connect(version.webSocketDebuggerUrl);
    const window = await browser("Browser.getWindowForTarget", { targetId: target.id });
    if (!window)
      fail(`the page is ${innerWidth}x${innerHeight}, not ${area}, and its window cannot be resized`);
    const { windowId, bounds } = window;
    await browser("Browser.setWindowBounds", { windowId, bounds: {
      width: bounds.width + width - innerWidth, height: bounds.height + height - innerHeight } });
    while (([innerWidth, innerHeight] = await size()) && (innerWidth !== width || innerHeight !== height)) {
      if (Date.now() > deadline)
        fail(`the page is ${innerWidth}x${innerHeight}, not ${area}`);
      await sleep(100);
    }
  }
}

await sleep(Number(settle) * 1000);

// The process tree's CPU time (clock ticks: 100 a second on Linux) and Pss.
const tree = () => {
  const parents = new Map();
  for (const pid of readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, "utf8");
      parents.set(pid, stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]);
    } catch {}
  }
  const inTree = (pid) => {
    for (let p = pid; p && p !== "0"; p = parents.get(p))
      if (p === root)
        return true;
    return false;
  };
  return [...parents.keys()].filter(inTree);
};
const ticks = (pids) =>
  pids.reduce((sum, pid) => {
    try {
      const fields = readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" ");
      return sum + Number(fields[11]) + Number(fields[12]);
    } catch {
      return sum;
    }
  }, 0);
const pssKb = (pids) =>
  pids.reduce((sum, pid) => {
    try {
      const rollup = readFileSync(`/proc/${pid}/smaps_rollup`, "utf8");
      return sum + Number(/^Pss:\s+(\d+)/m.exec(rollup)[1]);
    } catch {
      return sum;
    }
  }, 0);

const counter = `new Promise((done) => {
  let frames = 0, start = 0;
  const tick = (now) => {
    if (!start)
      start = now;
    else if (now - start >= ${Number(seconds) * 1000})
      return done(frames * 1000 / (now - start));
    else
      ++frames;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
})`;
const pids = tree();
const before = ticks(pids), startedAt = performance.now();
const fps = await evaluate(counter);
const cores = (ticks(pids) - before) / 100 / ((performance.now() - startedAt) / 1000);
const pss = pssKb(tree()) / 1024;
drawing = await evaluate(playing);
if (area && drawing.split(" ")[1] !== area)
  fail(`the movie was drawn on ${drawing.split(" ")[1]}, not on ${area}`);
if (typeof fps !== "number")
  fail("the page did not count its frames");
console.log(`fps=${fps.toFixed(1)} cores=${cores.toFixed(2)} pss_mb=${pss.toFixed(0)} ` +
  `renderer=${drawing.replace(" ", " canvas=")}`);
process.exit(0);
