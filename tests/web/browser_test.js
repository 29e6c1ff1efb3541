// The page in headless Chromium: it loads without a console error, starts with a key, keeps the
// arrows from scrolling, steps at no more than 60 a second, and draws the very pixels the
// headless back end draws for the same seed, clock and keys.
//
//   node browser_test.js SITE_DIR MATCH_SIM DATA_DIR OUT_DIR
'use strict';

const assert = require('assert');
const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');
const {Browser} = require('./cdp');

const [site, matchSim, data, out] = process.argv.slice(2);
const kTypes = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const kWidth = 800;
const kHeight = 600;
const kSeed = 5;

// The site as a static host serves it, and the native reference frames under /ref/.
function serve() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = name.startsWith('/ref/') ? path.join(out, path.basename(name))
                                          : path.join(site, name === '/' ? 'index.html' : name);
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream'});
      response.end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The headless back end's picture after `frames` frames with the keys of the script (none by
// default, rather than the replay's robots), as a file the page can fetch.
function reference(name, frames, keys = '') {
  const args = ['--seed', String(kSeed), '--frames', String(frames), '--data', data, '--raw',
                path.join(out, name), '--keys', keys];
  execFileSync(matchSim, args, {stdio: 'ignore'});
}

// Pixels of the canvas that differ from a reference frame, as [x, y] pairs.
function differences(page, name) {
  return page.evaluate(`(async () => {
    const ref = new Uint16Array(await (await fetch('/ref/${name}')).arrayBuffer());
    const canvas = document.getElementById('screen');
    const rgba = canvas.getContext('2d').getImageData(0, 0, ${kWidth}, ${kHeight}).data;
    const widen = (v, bits) => Math.floor((v * 255 + ((1 << bits) - 1) / 2 | 0) / ((1 << bits) - 1));
    const found = [];
    for (let i = 0; i < ref.length; ++i) {
      const p = ref[i];
      if (rgba[i * 4] !== widen(p >> 11, 5) || rgba[i * 4 + 1] !== widen((p >> 5) & 63, 6) ||
          rgba[i * 4 + 2] !== widen(p & 31, 5)) {
        found.push([i % ${kWidth}, Math.floor(i / ${kWidth})]);
      }
    }
    return found;
  })()`);
}

// Distance of a pixel from a ring's centre. Its tiles lie within a band of the ring's radius
// (155) plus or minus the drawn part of a tile, turned any way; its halo and the halo's glow
// stay inside the band.
const kLeftX = 200;
const kRightX = 628;
const fromRing = (centreX, [x, y]) => Math.hypot(x - centreX, y - 420);
const amongTiles = (centreX, p) => Math.abs(fromRing(centreX, p) - 155) <= 32;
const withinRing = (centreX, p) => fromRing(centreX, p) <= 155 + 57;

async function open(browser, query, problems) {
  const page = await browser.newPage();
  page.onEvent('Runtime.consoleAPICalled', (e) => {
    if (e.type === 'error' || e.type === 'warning') {
      problems.push(e.type + ': ' + e.args.map((a) => a.value ?? a.description).join(' '));
    }
  });
  page.onEvent('Runtime.exceptionThrown', (e) => problems.push('exception: ' +
      (e.exceptionDetails.exception?.description || e.exceptionDetails.text)));
  page.onEvent('Log.entryAdded', (e) => {
    if (e.entry.level === 'error') problems.push('log: ' + e.entry.text + ' ' + (e.entry.url || ''));
  });
  await page.send('Runtime.enable');
  await page.send('Log.enable');
  await page.send('Page.enable');
  const begun = Date.now();
  await page.send('Page.navigate', {url: browser.base + query});
  // Generous: a loaded machine may take many seconds where an idle one takes one.
  await page.waitFor('typeof VornPage === "object" && VornPage.started === true', 90000);
  return {page, loadMs: Date.now() - begun};
}

async function playing(browser) {
  const problems = [];
  const {page, loadMs} = await open(browser, '/', problems);
  console.log(`page ready to play ${loadMs} ms after opening`);
  assert.strictEqual(await page.evaluate('document.getElementById("press").textContent'),
                     'Press any key');
  await page.screenshot(path.join(out, 'press-any-key.png'));

  // The first key starts the game behind the prompt.
  await page.key('keyDown', 'Space', ' ', 32);
  await page.key('keyUp', 'Space', ' ', 32);
  await page.waitFor('getComputedStyle(document.getElementById("press")).display === "none"');
  await page.waitFor('VornPage.costs.count >= 30');
  const colours = await page.evaluate(`(() => {
    const rgba = document.getElementById('screen').getContext('2d')
        .getImageData(0, 0, ${kWidth}, ${kHeight}).data;
    const seen = new Set();
    for (let i = 0; i < rgba.length; i += 4 * 97) seen.add(rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]);
    return seen.size;
  })()`);
  assert.ok(colours > 20, `the start screen shows only ${colours} colours`);
  await page.screenshot(path.join(out, 'start-screen.png'));

  // The game's keys are not the page's: the arrows do not scroll it.
  await page.evaluate('addEventListener("keydown", (e) => { window.lastKeyKept = e.defaultPrevented; }), 0');
  await page.key('keyDown', 'ArrowDown', 'ArrowDown', 40);
  await page.key('keyUp', 'ArrowDown', 'ArrowDown', 40);
  assert.strictEqual(await page.evaluate('window.lastKeyKept'), true, 'the page took the arrow');

  // Steps follow the clock, not the display: never more than 60 a second.
  const before = await page.evaluate('[VornPage.costs.count, performance.now()]');
  await new Promise((r) => setTimeout(r, 2000));
  const after = await page.evaluate('[VornPage.costs.count, performance.now(), VornPage.costs.total, VornPage.costs.worst]');
  const rate = (after[0] - before[0]) * 1000 / (after[1] - before[1]);
  console.log(`${rate.toFixed(1)} frames a second; a frame costs ${(after[2] / after[0]).toFixed(3)} ms ` +
              `on average, ${after[3].toFixed(3)} ms at worst`);
  assert.ok(rate > 1 && rate < 63, `${rate} frames a second`);
  assert.deepStrictEqual(problems, []);
}

async function samePixels(browser) {
  reference('vote.raw', 195);
  reference('turned.raw', 239, '196+D,236-D');
  reference('unturned.raw', 239);
  const problems = [];
  const {page} = await open(browser, '/?test-seed=' + kSeed, problems);
  const steps = (n) => page.evaluate(`Module._vorn_test_steps(${n})`);

  // The start screen and the vote's first frames: no ring has turned, every pixel is equal.
  await steps(195);
  const vote = await differences(page, 'vote.raw');
  assert.strictEqual(vote.length, 0, 'vote frame differs at ' + JSON.stringify(vote.slice(0, 5)) + ' and ' + (vote.length - 5) + ' more');

  // D held for 40 frames turns the left ring. Where the browser's sine and cosine differ from
  // the desktop's in the last bit, a turned tile or a bounced halo may be a pixel off; so
  // everything outside the rings must be equal (scores, characters, panels, background), and
  // so must the tiles of the ring that did not turn.
  await page.key('keyDown', 'KeyD', 'd', 68);
  await steps(40);
  await page.key('keyUp', 'KeyD', 'd', 68);
  await steps(4);
  await page.screenshot(path.join(out, 'left-ring-turned.png'));
  const turned = await differences(page, 'turned.raw');
  const stray = turned.filter((p) => !withinRing(kLeftX, p) && !withinRing(kRightX, p));
  assert.deepStrictEqual(stray, [], 'outside the rings');
  const rightTiles = turned.filter((p) => amongTiles(kRightX, p));
  assert.strictEqual(rightTiles.length, 0, 'right ring tiles: ' + JSON.stringify(rightTiles.map((p) => [...p, fromRing(kRightX, p).toFixed(0)])));
  const leftBand = turned.filter((p) => amongTiles(kLeftX, p)).length;
  console.log(`turned frame: ${turned.length} of ${kWidth * kHeight} pixels differ (${leftBand} among the left ring's tiles), all inside ` +
              'the rings');

  // Against the same frames without D: the left ring moved, the right one did not.
  const moved = await differences(page, 'unturned.raw');
  const left = moved.filter((p) => amongTiles(kLeftX, p)).length;
  assert.ok(left > 500, `only ${left} pixels of the left ring's tiles moved`);
  assert.deepStrictEqual(moved.filter((p) => amongTiles(kRightX, p)), [], 'the right ring moved');
  assert.deepStrictEqual(problems, []);
}

(async () => {
  fs.mkdirSync(out, {recursive: true});
  const server = await serve();
  const browser = Browser.launch();
  browser.base = `http://127.0.0.1:${server.address().port}`;
  try {
    await playing(browser);
    await samePixels(browser);
    console.log('browser tests passed');
  } finally {
    await browser.close();
    server.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
