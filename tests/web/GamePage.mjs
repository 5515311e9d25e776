// The game's page in a browser tab, followed by what the game shows (the TRACE
// lines of ?trace), never by the clock; and the ways a player presses the
// game's buttons there: keys, touches on the page's controls, a gamepad.
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

export function fail(what, game) {
  console.log(`FAIL: ${what}`);
  if (game) console.log(`--- last state: ${(game.trace[game.trace.length - 1] || '').slice(0, 400)}`);
  process.exit(1);
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The game's buttons by the words a player knows them by.
export const kButtons = { up: 0, down: 1, right: 2, left: 3, decide: 4, cancel: 5, help: 6 };

export class GamePage {
  // `page`: a puppeteer page not yet navigated. Console errors, page errors and
  // failed requests are kept in `problems`.
  constructor(page) {
    this.page = page;
    this.trace = [];
    this.problems = [];
    page.on('console', (message) => {
      const text = message.text();
      if (text.startsWith('TRACE ')) this.trace.push(text.slice(6));
      else if (message.type() === 'error') this.problems.push(`console error: ${text}`);
      if (text.startsWith('DEBUG')) console.log(text);
    });
    // A new document: the trace begins again (lines of the old one may come until it goes).
    page.on('framenavigated', (frame) => { if (frame === page.mainFrame()) this.trace.length = 0; });
    page.on('pageerror', (error) => this.problems.push(`page error: ${error.message}`));
    page.on('requestfailed', (request) => this.problems.push(`request failed: ${request.url()}`));
  }

  fail(what) { fail(what, this); }

  // The game at the end of its last traced frame.
  state() {
    const line = this.trace[this.trace.length - 1];
    if (!line) return null;
    const s = JSON.parse(line);
    return { ...s, covered: s.fade[1] };
  }

  // Until `test(state)` holds, at most `frames` frames of the game (and a game
  // that stops making frames for a minute has stopped).
  async until(what, test, frames = 1800) {
    const start = this.trace.length;
    let seen = this.trace.length, since = Date.now();
    while (!(this.state() && test(this.state()))) {
      if (this.trace.length - start > frames) this.fail(`no ${what} within ${frames} frames`);
      if (this.trace.length !== seen) [seen, since] = [this.trace.length, Date.now()];
      if (Date.now() - since > 60000) this.fail(`no frame for a minute while waiting for ${what}`);
      await sleep(10);
    }
  }

  // `frames` more frames of the game have ended.
  framesPass(frames) {
    const at = this.state().frame;
    return this.until(`${frames} frames`, (s) => s.frame >= at + frames);
  }

  async rectOf(selector) {
    const rect = await this.page.$eval(selector, (e) => {
      const r = e.getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height };
    });
    if (rect.width === 0 || rect.height === 0) this.fail(`${selector} is not shown`);
    return rect;
  }

  async noticeKinds() {
    return this.page.$$eval('#notices .notice', (all) => all.map((n) => n.dataset.kind));
  }
}

// Presses with real key events.
export class Keys {
  constructor(game) {
    this.game = game;
    this.keys = { up: 'ArrowUp', down: 'ArrowDown', right: 'ArrowRight', left: 'ArrowLeft', decide: 'z', cancel: 'x', help: 'F1' };
  }

  // A key held until the game read it, then let go until it read that too.
  async press(name) {
    await this.game.page.keyboard.down(this.keys[name]);
    await this.game.framesPass(2);
    await this.game.page.keyboard.up(this.keys[name]);
    await this.game.framesPass(2);
  }
}

// Presses with touches (Input.dispatchTouchEvent) on the middle of each
// control's own rectangle, as a finger would; no key event at all.
export class Touches {
  constructor(game, session) {
    this.game = game;
    this.session = session;
  }

  async touch(type, points) {
    await this.session.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  }

  async press(name) {
    const r = await this.game.rectOf(`button[aria-label="${name}"]`);
    await this.touch('touchStart', [{ x: r.left + r.width / 2, y: r.top + r.height / 2, id: 1 }]);
    await this.game.framesPass(2);
    await this.touch('touchEnd', []);
    await this.game.framesPass(2);
  }
}

// A gamepad of the standard mapping given to the page through
// navigator.getGamepads (installed before the page's scripts run).
export class Pad {
  static async install(page) {
    await page.evaluateOnNewDocument(() => {
      const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
      const pad = { id: 'test pad (standard)', index: 0, connected: true, mapping: 'standard', timestamp: 0,
        axes: [0, 0, 0, 0], buttons };
      navigator.getGamepads = () => {
        window.testPad.reads += 1;
        return [pad, null, null, null];
      };
      window.testPad = {
        reads: 0,
        plug() {
          const event = new Event('gamepadconnected');
          Object.defineProperty(event, 'gamepad', { value: pad });
          window.dispatchEvent(event);
        },
        set(button, down) {
          buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
          pad.timestamp += 1;
        },
      };
    });
  }

  constructor(game) {
    this.game = game;
    // The standard mapping's buttons: south, east, Back (select), the d-pad.
    this.buttons = { decide: 0, cancel: 1, help: 8, up: 12, down: 13, left: 14, right: 15 };
  }

  // Sets a button and waits until the page has read the pads twice since.
  async set(name, down) {
    const reads = await this.game.page.evaluate((b, d) => {
      window.testPad.set(b, d);
      return window.testPad.reads;
    }, this.buttons[name], down);
    await this.game.page.waitForFunction((n) => window.testPad.reads >= n + 2, {}, reads);
  }

  async press(name) {
    await this.set(name, true);
    await this.game.framesPass(2);
    await this.set(name, false);
    await this.game.framesPass(2);
  }
}

export const commandMenuReady = (s) => s.scene === 'game' && s.state === 1 && s.menus[0][2] === -1 && s.covered === 0;
export const titleWaits = (s) => s.scene === 'title' && s.state === 1 && s.pendingState === 1 && s.covered === 0;

// Moves menu `menu` (0 the command menu, 1 the colour panels) to COLUMN, ROW.
export async function moveCursor(game, input, menu, column, row) {
  while (game.state().menus[menu][0] !== column) await input.press(game.state().menus[menu][0] < column ? 'right' : 'left');
  while (game.state().menus[menu][1] !== row) await input.press(game.state().menus[menu][1] < row ? 'down' : 'up');
}

// From the title to the next day with `input`: the game begins, a colour
// (0 yellow .. 3 green) is sent hunting, and the day ends.
export async function huntADay(game, input, colour) {
  await game.until('title waiting for decide', titleWaits);
  await input.press('decide');
  await game.until('game scene', (s) => s.scene === 'game');
  await game.until('command menu', commandMenuReady);
  const day = game.state().day;
  await moveCursor(game, input, 0, 0, 1);  // hunting
  await input.press('decide');
  await game.until('the colour panels', (s) => s.state === 2);
  await moveCursor(game, input, 1, colour >> 1, colour & 1);
  await input.press('decide');
  await game.until('the order given', (s) => s.state !== 2);
  if (game.state().state !== 3) game.fail(`hunting with colour ${colour} was refused`);
  await game.until('the next day', (s) => s.day === day + 1 && commandMenuReady(s));
}

// The native replay tool plays the page's recording: the same trace lines as the page's.
export async function sameAsNative(game, replayTool, dataDir, work, name) {
  const played = game.state().frame;
  const recording = join(work, `${name}.rec`);
  const bytes = await game.page.evaluate(() => Array.from(Module.FS.readFile('/anagura.rec')));
  writeFileSync(recording, Buffer.from(bytes));
  const replayed = join(work, `${name}.jsonl`);
  execFileSync(replayTool, ['--data', dataDir, '--input', recording, '--frames', String(played), '--trace', replayed]);
  const lines = readFileSync(replayed, 'utf8').trimEnd().split('\n');
  if (lines.length < 10 || game.trace.length < lines.length) game.fail(`${name}: ${lines.length} replayed frames of ${game.trace.length}`);
  for (let i = 0; i < lines.length; ++i) {
    if (lines[i] !== game.trace[i]) game.fail(`${name}: frame line ${i} differs:\n page   ${game.trace[i]}\n replay ${lines[i]}`);
  }
  return { recording, frames: lines.length };
}

// The replay tool's picture of `frame` as RGBA, decoded by the browser.
export async function replayedPicture(page, replayTool, dataDir, work, recording, frame, lang) {
  const shots = join(work, `shots-${frame}`);
  execFileSync(replayTool, ['--data', dataDir, '--input', recording, '--frames', String(frame), '--screenshots', shots,
    '--shot-every', String(frame), '--lang', lang]);
  const png = readFileSync(join(shots, `${String(frame).padStart(8, '0')}.png`)).toString('base64');
  return page.evaluate(async (data) => {
    const image = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob(),
      { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return Array.from(context.getImageData(0, 0, image.width, image.height).data);
  }, png);
}

export function differingPixels(a, b) {
  if (a.length !== b.length) return Infinity;
  let n = 0;
  for (let i = 0; i < a.length; i += 4) if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++n;
  return n;
}

// The picture of a frame a few frames on, as the canvas showed it (?trace).
export async function shotOfCanvas(game) {
  await game.page.evaluate((f) => { window.anagura.shotAtFrame = f; window.anagura.shot = null; }, game.state().frame + 3);
  let shot = null;
  for (let i = 0; i < 600 && !shot; ++i) {
    await sleep(10);
    shot = await game.page.evaluate(() => window.anagura.shot);
  }
  if (!shot) game.fail('the page kept no picture of the canvas');
  return { shot, frame: await game.page.evaluate(() => window.anagura.shotAtFrame) };
}
