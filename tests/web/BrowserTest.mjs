// The game's page in headless chromium, played with real key events through
// the title into a game, a command and the next day. It plays by what the game
// shows (its TRACE lines), never by the clock. Then: the native replay tool,
// given the page's recording, plays the same frames (the same trace) and makes
// the picture the canvas showed at the command menu; Web Audio received sound
// there; F1 opens the help panel; the console shows no error; the player's
// files survive a reload, and the game kept there is continued.
//
// node BrowserTest.mjs WEB_DIR REPLAY_TOOL DATA_DIR WORK_DIR
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { serve } from '../../scripts/web-server.mjs';
import { launchChromium } from './Chromium.mjs';

const [webDir, replayTool, dataDir, work] = process.argv.slice(2);
const kDecide = 'z', kRight = 'ArrowRight', kDown = 'ArrowDown';
const trace = [];
const problems = [];

function fail(what) {
  console.log(`FAIL: ${what}`);
  console.log(`--- last state: ${(trace[trace.length - 1] || '').slice(0, 400)}`);
  process.exit(1);
}

// The game at the end of its last traced frame.
function state() {
  const line = trace[trace.length - 1];
  if (!line) return null;
  const s = JSON.parse(line);
  return { ...s, covered: s.fade[1] };
}

// Until `test(state)` holds, at most `frames` frames of the game (and a game
// that stops making frames for a minute has stopped).
async function until(what, test, frames = 1800) {
  const start = trace.length;
  let seen = trace.length, since = Date.now();
  while (!(state() && test(state()))) {
    if (trace.length - start > frames) fail(`no ${what} within ${frames} frames`);
    if (trace.length !== seen) [seen, since] = [trace.length, Date.now()];
    if (Date.now() - since > 60000) fail(`no frame for a minute while waiting for ${what}`);
    await new Promise((r) => setTimeout(r, 10));
  }
}

// `frames` more frames of the game have ended.
const framesPass = (frames) => {
  const at = state().frame;
  return until(`${frames} frames`, (s) => s.frame >= at + frames);
};

// A key held until the game read it, then let go until it read that too.
async function press(page, key) {
  await page.keyboard.down(key);
  await framesPass(2);
  await page.keyboard.up(key);
  await framesPass(2);
}

const commandMenuReady = (s) => s.scene === 'game' && s.state === 1 && s.menus[0][2] === -1 && s.covered === 0;

async function playADay(page) {
  await until('title waiting for decide', (s) => s.scene === 'title' && s.state === 1 && s.pendingState === 1 && s.covered === 0);
  await page.mouse.click(400, 300);  // a click unlocks the sound, as a key does
  await press(page, kDecide);
  await until('game scene', (s) => s.scene === 'game');
  await until('command menu', commandMenuReady);

  // The command menu: its picture, and the music through Web Audio.
  await page.evaluate((f) => { window.anagura.shotAtFrame = f; }, state().frame + 3);
  let shot = null;
  for (let i = 0; i < 600 && !shot; ++i) {
    await new Promise((r) => setTimeout(r, 10));
    shot = await page.evaluate(() => window.anagura.shot);
  }
  if (!shot) fail('the page kept no picture of the command menu');
  const shotFrame = await page.evaluate(() => window.anagura.shotAtFrame);
  const sound = async () => page.evaluate(() => ({ peak: window.anagura.sound.peak, frames: window.anagura.sound.frames }));
  const heard = state().frame;
  while ((await sound()).peak === 0) {
    if (state().frame > heard + 300) fail(`Web Audio received only silence on the command menu: ${JSON.stringify(await sound())}`);
    await new Promise((r) => setTimeout(r, 20));
  }

  // F1: the help panel above the picture, and the game waits until it closes:
  // no picture is presented once it shows (the frame under way at the key ends
  // before its next present). Counted in the page: the console's trace lines
  // arrive here some time after they are written.
  await page.keyboard.press('F1');
  await page.waitForSelector('#overlay.panel:not([hidden])');
  const presents = () => page.evaluate(() => window.anagura.work.frames);
  const waiting = await presents();
  await new Promise((r) => setTimeout(r, 300));
  if ((await presents()) !== waiting) fail('the game went on under the help panel');
  await page.keyboard.press('F1');
  await framesPass(2);

  // Rest (column 1, row 2), and on to the next day's command menu.
  while (state().menus[0][0] !== 1) await press(page, kRight);
  while (state().menus[0][1] !== 2) await press(page, kDown);
  await press(page, kDecide);
  await until('the end of the day', (s) => s.state !== 1);
  await until('the next day', (s) => s.day === 2 && commandMenuReady(s));
  return { shot, shotFrame, peak: (await sound()).peak };
}

// The replay tool's picture of `frame` as RGBA, decoded by the browser.
async function replayedPicture(page, recording, frame) {
  const shots = join(work, 'shots');
  const lang = await page.evaluate(() => window.anagura.lang);  // the browser's (English here) unless chosen
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

function differingPixels(a, b) {
  if (a.length !== b.length) return Infinity;
  let n = 0;
  for (let i = 0; i < a.length; i += 4) if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++n;
  return n;
}

// A browser without WebAssembly, and a data file the server refuses: each is
// said on the page, and a missing picture still plays as on the desktop.
async function badInputSaysSo() {
  const notices = async (page) => page.$eval('#notices', (e) => e.textContent);
  const bare = await browser.newPage();
  await bare.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await bare.goto(`${server.url}index.html`);
  if (!/WebAssembly/.test(await notices(bare))) fail('no word on the page of the missing WebAssembly');
  await bare.close();

  const refusing = await serve(webDir, { refuse: (path) => path.endsWith('/kumo.bmp') });
  const page = await browser.newPage();
  await page.goto(`${refusing.url}index.html`);
  await page.waitForFunction(() => window.anagura.work.frames > 60, { timeout: 30000 });
  if (!/kumo\.bmp/.test(await notices(page))) fail('no word on the page of the data file that did not load');
  await page.close();
  refusing.close();
}

const server = await serve(webDir);
const browser = await launchChromium(puppeteer, mkdtempSync(join(work, 'profile-')));
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  page.on('console', (message) => {
    const text = message.text();
    if (text.startsWith('TRACE ')) trace.push(text.slice(6));
    else if (message.type() === 'error') problems.push(`console error: ${text}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));
  await page.goto(`${server.url}index.html?trace&record`);

  const { shot, shotFrame, peak } = await playADay(page);
  const played = state().frame;  // the recording, still being written, holds at least these frames
  const recording = join(work, 'page.rec');
  writeFileSync(recording, Buffer.from(await page.evaluate(() => Array.from(Module.FS.readFile('/anagura.rec')))));

  // The same game natively: the same trace lines, the same picture.
  const replayed = join(work, 'replay.jsonl');
  execFileSync(replayTool, ['--data', dataDir, '--input', recording, '--frames', String(played), '--trace', replayed]);
  const replayLines = readFileSync(replayed, 'utf8').trimEnd().split('\n');
  if (replayLines.length < 10 || trace.length < replayLines.length) fail(`${replayLines.length} replayed frames of ${trace.length}`);
  for (let i = 0; i < replayLines.length; ++i)
    if (replayLines[i] !== trace[i]) fail(`frame line ${i} differs:\n page   ${trace[i]}\n replay ${replayLines[i]}`);
  const differ = differingPixels(shot, await replayedPicture(page, recording, shotFrame));
  if (differ !== 0) fail(`the canvas at frame ${shotFrame} differs from the replay tool's picture in ${differ} pixels`);

  // The player's files are kept: the game writes them under $HOME, which
  // survives a reload.
  const files = await page.evaluate(() => {
    const found = [];
    const walk = (folder) => Module.FS.readdir(folder).filter((n) => n !== '.' && n !== '..').forEach((n) => {
      const path = `${folder}/${n}`;
      if (Module.FS.isDir(Module.FS.stat(path).mode)) walk(path);
      else found.push(path);
    });
    walk('/home/web_user');
    Module.FS.writeFile('/home/web_user/kept', String(found.length));
    return found;
  });
  if (!files.some((path) => path.endsWith('/Log.txt'))) fail(`no Log.txt among the player's files: ${files}`);
  await new Promise((r) => setTimeout(r, 2500));  // the page writes its storage back every 2 s
  trace.length = 0;
  await page.reload();
  await until('the title after a reload', (s) => s.scene === 'title');
  const kept = await page.evaluate(() => Module.FS.analyzePath('/home/web_user/kept').exists);
  if (!kept) fail("the player's folder did not survive a reload");
  // The game kept in it is offered, and goes on where it was left.
  await page.waitForSelector('#continue:not([hidden])');
  trace.length = 0;
  await page.click('#continue');
  await until('the continued game', (s) => s.scene === 'game' && s.day === 2);
  if (problems.length) fail(problems.join('\n'));
  await badInputSaysSo();
  console.log(`PASS: ${replayLines.length} frames as the native replay; the picture of frame ${shotFrame}; ` +
    `sound peak ${peak}; player's files: ${files.join(' ')}`);
} finally {
  await browser.close();
  server.close();
}
