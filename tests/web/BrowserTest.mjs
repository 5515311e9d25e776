// The game's page in headless chromium at a desk, played with real key events
// through the title into a game, a command and the next day, then with a
// gamepad given to the page (its d-pad moves, south decides, Back opens the
// help). It plays by what the game shows (its TRACE lines), never by the
// clock. Then: the native replay tool, given the page's recording, plays the
// same frames (the same trace) and makes the picture the canvas showed at the
// command menu; the sound went out through an AudioWorklet, and waits with the
// game while the tab is hidden; F1 opens the help panel; the console shows no
// error; the game saved to a file replays natively; the player's files survive
// a reload, and the game kept there is continued. Last, what goes wrong is
// said in words: no WebAssembly, files that do not come (one notice), a
// damaged game file, storage that throws or is full.
//
// node BrowserTest.mjs WEB_DIR REPLAY_TOOL DATA_DIR WORK_DIR
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, truncateSync } from 'node:fs';
import { join } from 'node:path';
import { serve } from '../../scripts/web-server.mjs';
import { launchChromium } from './Chromium.mjs';
import {
  GamePage, Keys, Pad, commandMenuReady, differingPixels, fail, moveCursor, replayedPicture, sameAsNative,
  shotOfCanvas, sleep, titleWaits,
} from './GamePage.mjs';

const [webDir, replayTool, dataDir, work] = process.argv.slice(2);

async function playADay(game, keys) {
  const { page } = game;
  await game.until('title waiting for decide', titleWaits);
  await page.mouse.click(400, 300);  // a click unlocks the sound, as a key does
  await keys.press('decide');
  await game.until('game scene', (s) => s.scene === 'game');
  await game.until('command menu', commandMenuReady);

  // The command menu: its picture, and the music through the worklet.
  const { shot, frame: shotFrame } = await shotOfCanvas(game);
  const sound = async () => page.evaluate(() => ({ peak: anagura.sound.peak, frames: anagura.sound.frames, way: anagura.sound.way }));
  const heard = game.state().frame;
  while ((await sound()).peak === 0) {
    if (game.state().frame > heard + 300) game.fail(`Web Audio received only silence on the command menu: ${JSON.stringify(await sound())}`);
    await sleep(20);
  }
  if ((await sound()).way !== 'worklet') game.fail(`the sound went out through ${(await sound()).way}, not an AudioWorklet`);

  // F1: the help panel above the picture, and the game waits until it closes:
  // no picture is presented once it shows (the frame under way at the key ends
  // before its next present). Counted in the page: the console's trace lines
  // arrive here some time after they are written.
  await page.keyboard.press('F1');
  await page.waitForSelector('#overlay.panel:not([hidden])');
  const presents = () => page.evaluate(() => window.anagura.work.frames);
  const waiting = await presents();
  await sleep(300);
  if ((await presents()) !== waiting) game.fail('the game went on under the help panel');
  await page.keyboard.press('F1');
  await game.framesPass(2);

  // Hidden, the tab's game waits and so does its sound; shown, both go on.
  const hide = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { value: h, configurable: true });
    Object.defineProperty(document, 'visibilityState', { value: h ? 'hidden' : 'visible', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await hide(true);
  await sleep(300);
  const hidden = await page.evaluate(() => ({ sound: anagura.sound.context.state, presents: anagura.work.frames }));
  await sleep(300);
  if (hidden.sound !== 'suspended') game.fail(`the sound went on (${hidden.sound}) in a hidden tab`);
  if ((await presents()) !== hidden.presents) game.fail('the game went on in a hidden tab');
  await hide(false);
  await page.waitForFunction(() => anagura.sound.context.state === 'running');
  await game.framesPass(2);

  // Rest (column 1, row 2), and on to the next day's command menu.
  await moveCursor(game, keys, 0, 1, 2);
  await keys.press('decide');
  await game.until('the end of the day', (s) => s.state !== 1);
  await game.until('the next day', (s) => s.day === 2 && commandMenuReady(s));
  return { shot, shotFrame, peak: (await sound()).peak };
}

// A pad plugged in: the d-pad moves the cursor, Back opens and closes the
// help panel, south decides: the day ends by resting.
async function playWithAPad(game) {
  const pad = new Pad(game);
  await game.page.evaluate(() => window.testPad.plug());
  const column = game.state().menus[0][0];
  await pad.press('right');
  if (game.state().menus[0][0] === column) game.fail("the pad's d-pad did not move the cursor");
  // The game waits under the panel: no frames to wait for, only the pad's reads.
  for (const shown of [true, false]) {
    await pad.set('help', true);
    await game.page.waitForSelector(shown ? '#overlay.panel:not([hidden])' : '#overlay', { hidden: !shown });
    await pad.set('help', false);
  }
  await moveCursor(game, pad, 0, 1, 2);
  await pad.press('decide');
  await game.until('the next day after the pad', (s) => s.day === 3 && commandMenuReady(s));
}

// "Save the game to a file": the file the browser downloads is the game kept,
// which the native replay tool plays to the page's state at its last frame.
async function saveToAFile(game, session) {
  const downloads = join(work, 'downloads');
  mkdirSync(downloads);
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await game.page.click('#save-game');
  let name;
  for (let i = 0; i < 500 && !name; ++i) {
    await sleep(20);
    name = readdirSync(downloads).find((n) => /^anagura-game-.*\.txt$/.test(n));
  }
  if (!name) game.fail('no game file was saved');
  const file = join(downloads, name);
  const text = readFileSync(file, 'utf8');
  if (!/^# seed \d+\n/.test(text) || !/\n# version /.test(text)) game.fail(`the saved file is not a kept game:\n${text.slice(0, 200)}`);
  return file;
}

// A browser without WebAssembly, files the server refuses, a damaged game, and
// storage that throws or is full: each said on the page in one notice, the
// game playing on where it can.
async function badInputSaysSo(browser, server) {
  const notices = async (page) => page.$$eval('#notices .notice', (all) => all.map((n) => `${n.dataset.kind}: ${n.textContent}`));
  const bare = await browser.newPage();
  await bare.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await bare.goto(`${server.url}index.html`);
  if (!(await notices(bare)).some((n) => /WebAssembly/.test(n))) fail('no word on the page of the missing WebAssembly');
  await bare.close();

  // Every sound effect and a picture missing: one notice naming them, off the picture.
  const refusing = await serve(webDir, { refuse: (path) => path.endsWith('/kumo.bmp') || path.endsWith('.wav') });
  const page = await browser.newPage();
  await page.goto(`${refusing.url}index.html`);
  await page.waitForFunction(() => window.anagura.work.frames > 60, { timeout: 30000 });
  await page.waitForFunction(() => /\.wav/.test(document.getElementById('notices').textContent), { timeout: 30000 });
  const said = await notices(page);
  if (said.length !== 1 || !/kumo\.bmp/.test(said[0])) fail(`not one notice of the files that did not load: ${said}`);
  const overlaps = await page.evaluate(() => {
    const a = document.getElementById('screen').getBoundingClientRect(), b = document.getElementById('notices').getBoundingClientRect();
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  });
  if (overlaps) fail('the notice covers the picture');
  await page.close();
  refusing.close();

  // A damaged game (its WebAssembly cut short).
  const damaged = join(work, 'damaged-web');
  cpSync(webDir, damaged, { recursive: true });
  truncateSync(join(damaged, 'anagura.wasm'), 1000);
  const damagedServer = await serve(damaged);
  const broken = await browser.newPage();
  await broken.goto(`${damagedServer.url}index.html`);
  await broken.waitForFunction(() => /anagura\.wasm/.test(document.getElementById('notices').textContent), { timeout: 30000 });
  await broken.close();
  damagedServer.close();

  // IndexedDB that throws when looked at; then one whose writes fail as a full storage's.
  for (const [what, kind, trouble] of [
    ['throwing storage', 'storage', () => {
      Object.defineProperty(window, 'indexedDB', { get() { throw new DOMException('denied', 'SecurityError'); } });
    }],
    ['full storage', 'storage-failed', () => {
      IDBObjectStore.prototype.put = function () { throw new DOMException('full', 'QuotaExceededError'); };
    }],
  ]) {
    const other = await browser.newPage();
    const game = new GamePage(other);
    await other.evaluateOnNewDocument(trouble);
    await other.goto(`${server.url}index.html?trace`);
    await game.until(`the title with ${what}`, titleWaits);
    await new Keys(game).press('decide');
    await game.until(`a game with ${what}`, (s) => s.scene === 'game');
    await sleep(4500);  // two writes of the player's folder
    const kinds = await game.noticeKinds();
    if (kinds.filter((k) => k === kind).length !== 1) game.fail(`${what}: not one notice of it: ${kinds}`);
    if (game.problems.length) game.fail(`${what}: ${game.problems.join('\n')}`);
    await other.close();
  }
}

const server = await serve(webDir);
const browser = await launchChromium(puppeteer, mkdtempSync(join(work, 'profile-')));
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  await Pad.install(page);
  const game = new GamePage(page);
  await page.goto(`${server.url}index.html?trace&record`);

  const keys = new Keys(game);
  const { shot, shotFrame, peak } = await playADay(game, keys);
  await playWithAPad(game);
  const { recording, frames } = await sameAsNative(game, replayTool, dataDir, work, 'page');
  const lang = await page.evaluate(() => window.anagura.lang);  // the browser's (English here) unless chosen
  const differ = differingPixels(shot, await replayedPicture(page, replayTool, dataDir, work, recording, shotFrame, lang));
  if (differ !== 0) game.fail(`the canvas at frame ${shotFrame} differs from the replay tool's picture in ${differ} pixels`);

  // The game saved to a file: the native replay tool reaches the page's state at its last frame.
  const saved = await saveToAFile(game, await page.createCDPSession());
  const savedFrames = readFileSync(saved, 'utf8').trimEnd().split('\n').filter((l) => /^\d+ /.test(l)).pop().split(' ')[0];
  const savedTrace = join(work, 'saved.jsonl');
  execFileSync(replayTool, ['--data', dataDir, '--input', saved, '--frames', savedFrames, '--trace', savedTrace]);
  const native = readFileSync(savedTrace, 'utf8').trimEnd().split('\n').pop();
  if (native !== game.trace[Number(savedFrames) - 1]) game.fail(`the saved game replays to another state at frame ${savedFrames}`);

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
  if (!files.some((path) => path.endsWith('/Log.txt'))) game.fail(`no Log.txt among the player's files: ${files}`);
  await sleep(2500);  // the page writes its storage back every 2 s
  game.trace.length = 0;
  await page.reload();
  await game.until('the title after a reload', (s) => s.scene === 'title');
  const kept = await page.evaluate(() => Module.FS.analyzePath('/home/web_user/kept').exists);
  if (!kept) game.fail("the player's folder did not survive a reload");
  // The game kept in it is offered, and goes on where it was left.
  await page.waitForSelector('#continue:not([hidden])');
  game.trace.length = 0;
  await page.click('#continue');
  await game.until('the continued game', (s) => s.scene === 'game' && s.day === 3);
  if (game.problems.length) game.fail(game.problems.join('\n'));
  if (!existsSync(saved)) game.fail('the saved game file went');
  await badInputSaysSo(browser, server);
  console.log(`PASS: ${frames} frames as the native replay; the picture of frame ${shotFrame}; ` +
    `sound peak ${peak}; a game file of ${savedFrames} frames; player's files: ${files.join(' ')}`);
} finally {
  await browser.close();
  server.close();
}
