// The page as an app: Chromium finds it installable (no installability
// errors); after one visit it opens and plays with the server gone; a second
// visit downloads nothing; a new version served is fetched in the background,
// said on the page, taken at the start of the next visit and said once.
//
// node AppTest.mjs WEB_DIR WORK_DIR
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { join } from 'node:path';
import { createHash } from 'node:crypto';
import { serve } from '../../scripts/web-server.mjs';
import { launchChromium } from './Chromium.mjs';
import { GamePage, Keys, titleWaits } from './GamePage.mjs';

const [webDir, work] = process.argv.slice(2);
const root = fileURLToPath(new URL('../..', import.meta.url));

// A copy of the folder this test may change; served at a port of its own.
const folder = join(work, 'app-web');
cpSync(webDir, folder, { recursive: true });
let server = await serve(folder);
const url = `${server.url}index.html?trace`;
const browser = await launchChromium(puppeteer, mkdtempSync(join(work, 'profile-')));

const bytesOf = (from) => server.stats.requests.slice(from).reduce((sum, r) => sum + r.bytes, 0);

async function visit(page, game) {
  game.trace.length = 0;
  await page.goto(url);
  await game.until('the title', titleWaits);
}

try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  const game = new GamePage(page);

  // The first visit: the title, then the page kept for offline play.
  await visit(page, game);
  await page.waitForFunction(() => window.anagura.offline.ready && navigator.serviceWorker.controller, { timeout: 30000 });
  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  if (installabilityErrors.length) game.fail(`not installable: ${JSON.stringify(installabilityErrors)}`);
  const { errors } = await session.send('Page.getAppManifest');
  if (errors.length) game.fail(`the manifest has errors: ${JSON.stringify(errors)}`);

  // A second visit with the server up: nothing downloaded again.
  const before = server.stats.requests.length;
  await visit(page, game);
  if (bytesOf(before)) game.fail(`a second visit downloaded ${bytesOf(before)} bytes: ${JSON.stringify(server.stats.requests.slice(before))}`);

  // With the server gone: the title, and a game begins.
  server.close();
  await visit(page, game);
  await new Keys(game).press('decide');
  await game.until('a game begun offline', (s) => s.scene === 'game');
  const offlineFrames = game.state().frame;

  // A new version (the folder built again with a changed page script): found
  // in the background while the old one plays, which goes on with its own
  // files and says so; the next visit opens it and says so once; only the
  // changed files are downloaded.
  const port = Number(new URL(server.url).port);
  const script = join(folder, 'anagura-texts.js');
  writeFileSync(script, `${readFileSync(script, 'utf8')}\n// changed\n`);
  for (const template of ['index.html', 'anagura-sw.js']) cpSync(join(root, 'src/media/web/page', template), join(folder, template));
  execFileSync('/usr/bin/python3', [join(root, 'scripts/web-app.py'), folder, join(root, 'assets/icons/hicolor/16x16/apps/anagura.png')]);
  const newVersion = /name="anagura-version" content="([0-9a-f]+)"/.exec(readFileSync(join(folder, 'index.html'), 'utf8'))[1];
  server = await serve(folder, { port });
  const updateFrom = server.stats.requests.length;
  await visit(page, game);
  await page.waitForFunction(() => [...document.querySelectorAll('.notice')].some((n) => n.dataset.kind === 'version'), { timeout: 30000 });
  const fetched = server.stats.requests.slice(updateFrom).filter((r) => !r.unchanged).map((r) => r.path);
  if (fetched.some((path) => !/^\/(anagura-texts\.js|anagura-sw\.js|index\.html)$/.test(path))) game.fail(`the update downloaded more than the changed files: ${fetched}`);
  await visit(page, game);
  const version = await page.evaluate(() => window.anagura.offline.version);
  if (version !== newVersion) game.fail(`the next visit runs version ${version}, not the new ${newVersion}`);
  if (!(await game.noticeKinds()).includes('version')) game.fail('the update was not said');
  await visit(page, game);
  if ((await game.noticeKinds()).includes('version')) game.fail('the update was said twice');
  if (game.problems.filter((p) => !/request failed|ERR_CONNECTION_REFUSED/.test(p)).length) game.fail(game.problems.join('\n'));
  console.log(`PASS: installable; a second visit downloaded nothing; offline the title and a game (${offlineFrames} frames); ` +
    `the update took ${fetched.join(' ')}`);
} finally {
  await browser.close();
  server.close();
}
