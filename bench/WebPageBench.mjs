// The game's page in headless chromium on localhost: how soon the title's first
// frame shows and how many bytes came before it; then the game's work per
// frame in the page (all it does but wait) over 300 frames of the title and
// 1,000 of a game, against the native game's in its window (the figures of
// window-frame-work.sh) and the native replay tool playing the same frames from
// the page's recording.
//
// node WebPageBench.mjs WEB_DIR REPLAY_TOOL DATA_DIR WORK_DIR WINDOW_TITLE_US WINDOW_MENU_US
import { createRequire } from 'node:module';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { serve } from '../scripts/web-server.mjs';
import { launchChromium } from '../tests/web/Chromium.mjs';

const puppeteer = createRequire(new URL('../tests/web/package.json', import.meta.url))('puppeteer-core');
const [webDir, replayTool, dataDir, work, windowTitleUs, windowMenuUs] = process.argv.slice(2);
const kFrames = 1000;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

const browser = await launchChromium(puppeteer, mkdtempSync(join(work, 'profile-')));
const servers = [];

// The title's first frame, served plainly and compressed.
async function firstFrame(gzip) {
  const server = await serve(webDir, { compress: gzip });
  servers.push(server);
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  await page.goto(`${server.url}index.html?record`);
  await page.waitForFunction(() => window.anagura && window.anagura.firstFrameAt > 0, { timeout: 30000 });
  const start = await page.evaluate(() => {
    const first = window.anagura.firstFrameAt;
    const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
    const before = entries.filter((e) => e.responseEnd <= first);
    return {
      firstFrameMs: first,
      bytes: before.reduce((sum, e) => sum + (e.transferSize || e.encodedBodySize || 0), 0),
      files: before.length,
    };
  });
  console.log(`title's first frame${gzip ? ' (gzip)' : ''}: ${start.firstFrameMs.toFixed(0)} ms after navigation, ` +
    `${(start.bytes / 1e6).toFixed(2)} MB in ${start.files} files before it`);
  return page;
}

try {
  await (await firstFrame(true)).close();
  const page = await firstFrame(false);

  // The title's frames (no sound), then a game: the decide key on the title,
  // then the command menu's frames (its music decoded in the frame).
  const frameWork = async (frames) => {
    const from = await page.evaluate(() => ({ ...window.anagura.work }));
    await page.waitForFunction((n) => window.anagura.work.frames >= n, { timeout: 60000 }, from.frames + frames);
    const to = await page.evaluate(() => ({ ...window.anagura.work }));
    const played = to.frames - from.frames;
    return { from, to, ms: (to.millis - from.millis) / played, uploadMs: (to.uploadMillis - from.uploadMillis) / played };
  };
  const title = await frameWork(300);
  await page.keyboard.down('z');
  await sleep(100);
  await page.keyboard.up('z');
  await sleep(3000);
  const { from, to, ms: pageMs, uploadMs } = await frameWork(kFrames);
  const recording = join(work, 'bench.rec');
  writeFileSync(recording, Buffer.from(await page.evaluate(() => Array.from(Module.FS.readFile('/anagura.rec')))));

  // With the audio out, as the page decodes and mixes its sound too; without
  // the recording the title waits for ever.
  const timed = (frames, input = ['--input', recording]) => {
    const t = performance.now();
    execFileSync(replayTool, ['--data', dataDir, ...input, '--frames', String(frames), '--audio-out',
      join(work, 'bench.wav')]);
    return performance.now() - t;
  };
  // Natively the same frames are too short to time against a process start:
  // the command menu is played on, waiting as in the page, for many more.
  const best = (frames, input) => Math.min(timed(frames, input), timed(frames, input), timed(frames, input));
  const nativeFrames = 30000;
  const nativeMs = (best(from.frames + nativeFrames) - best(from.frames)) / nativeFrames;
  const nativeTitleMs = (best(100 + nativeFrames, []) - best(100, [])) / nativeFrames;
  // The picture's way to the canvas (its conversion and upload) is the page's
  // way to the screen: the game's own work is the rest. It is set against the
  // native game's own in its window, counted the same way
  // (window-frame-work.sh, run before), and against the replay tool's tight loop.
  const report = (where, page, nativeUs, windowUs) => {
    const all = page.ms * 1000, upload = page.uploadMs * 1000, own = all - upload;
    console.log(`game frame's work on the ${where} (${page.to.frames - page.from.frames} page frames): ` +
      `page ${all.toFixed(1)} us, of it the way to the canvas ${upload.toFixed(1)} us and the game's own ` +
      `${own.toFixed(1)} us; native game in its window ${windowUs} us (page ${(own / windowUs).toFixed(1)}x); ` +
      `native replay tool ${nativeUs.toFixed(1)} us (page ${(own / nativeUs).toFixed(1)}x)`);
  };
  report('command menu', { from, to, ms: pageMs, uploadMs }, nativeMs * 1000, Number(windowMenuUs));
  report('title', title, nativeTitleMs * 1000, Number(windowTitleUs));
} finally {
  await browser.close();
  servers.forEach((server) => server.close());
}
