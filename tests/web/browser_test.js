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
const puppeteer = require('puppeteer-core');

const [site, matchSim, data, out] = process.argv.slice(2);
const kTypes = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const kSeed = 5;

// The site as a static host serves it, and the native reference frames under /ref/.
function serve() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = name.startsWith('/ref/') ? path.join(out, path.basename(name))
                                          : path.join(site, name === '/' ? 'index.html' : name);
    fs.readFile(file, (error, bytes) => {
      const type = kTypes[path.extname(file)] || 'application/octet-stream';
      response.writeHead(error ? 404 : 200, {'Content-Type': type}).end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The headless back end's picture after `frames` frames with the keys of the script (none by
// default, rather than the replay's robots), as a file the page can fetch.
function reference(name, frames, keys = '') {
  execFileSync(matchSim, ['--seed', kSeed, '--frames', frames, '--data', data, '--raw',
                          path.join(out, name), '--keys', keys].map(String), {stdio: 'ignore'});
}

// Pixels of the canvas that differ from a reference frame, as [x, y] pairs.
const differences = (page, name) => page.evaluate(async (name) => {
  const ref = new Uint16Array(await (await fetch('/ref/' + name)).arrayBuffer());
  const canvas = document.getElementById('screen');
  const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  const widen = (v, bits) => Math.floor((v * 255 + ((1 << bits) - 1) / 2 | 0) / ((1 << bits) - 1));
  const found = [];
  ref.forEach((p, i) => {
    if (rgba[i * 4] !== widen(p >> 11, 5) || rgba[i * 4 + 1] !== widen((p >> 5) & 63, 6) ||
        rgba[i * 4 + 2] !== widen(p & 31, 5)) {
      found.push([i % canvas.width, Math.floor(i / canvas.width)]);
    }
  });
  return found;
}, name);

// Distance of a pixel from a ring's centre. Its tiles lie within a band of the ring's radius
// (155) plus or minus the drawn part of a tile, turned any way; its halo and the halo's glow
// stay inside the band.
const kLeftX = 200;
const kRightX = 628;
const fromRing = (centreX, [x, y]) => Math.hypot(x - centreX, y - 420);
const amongTiles = (centreX, p) => Math.abs(fromRing(centreX, p) - 155) <= 32;
const withinRing = (centreX, p) => fromRing(centreX, p) <= 155 + 57;

// A page at `query`, ready to play, and the problems it reports: the page's errors and
// warnings, the browser's errors (a file it could not load among them) and what it throws. The
// browser's own warnings (advice, with no arguments) are not the page's.
async function open(browser, query) {
  const page = await browser.newPage();
  const problems = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || (m.type() === 'warn' && m.args().length > 0)) {
      problems.push(`${m.type()}: ${m.text()} ${m.location().url || ''}`);
    }
  });
  page.on('pageerror', (e) => problems.push('exception: ' + e.message));
  const begun = Date.now();
  await page.goto(browser.base + query);
  // Generous: a loaded machine may take many seconds where an idle one takes one.
  await page.waitForFunction('typeof VornPage === "object" && VornPage.started === true',
                             {timeout: 90000, polling: 50});
  console.log(`page ready to play ${Date.now() - begun} ms after opening`);
  return {page, problems};
}

async function playing(browser) {
  const {page, problems} = await open(browser, '/');
  assert.strictEqual(await page.$eval('#press', (e) => e.textContent), 'Press any key');
  await page.screenshot({path: path.join(out, 'press-any-key.png')});

  // The first key starts the game behind the prompt.
  await page.keyboard.press('Space');
  await page.waitForSelector('#press', {hidden: true});
  await page.waitForFunction('VornPage.costs.count >= 30');
  const colours = await page.$eval('#screen', (canvas) => {
    const {data} = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    return new Set(new Uint32Array(data.buffer).filter((_, i) => i % 97 === 0)).size;
  });
  assert.ok(colours > 20, `the start screen shows only ${colours} colours`);
  await page.screenshot({path: path.join(out, 'start-screen.png')});

  // The game's keys are not the page's: the arrows do not scroll it.
  await page.evaluate(() => addEventListener('keydown', (e) => (window.kept = e.defaultPrevented)));
  await page.keyboard.press('ArrowDown');
  assert.strictEqual(await page.evaluate('window.kept'), true, 'the page took the arrow');

  // Steps follow the clock, not the display: never more than 60 a second.
  const costs = () => ({...VornPage.costs, now: performance.now()});
  const before = await page.evaluate(costs);
  await new Promise((r) => setTimeout(r, 2000));
  const {count, total, worst, now} = await page.evaluate(costs);
  const rate = (count - before.count) * 1000 / (now - before.now);
  console.log(`${rate.toFixed(1)} frames a second; a frame costs ${(total / count).toFixed(3)} ` +
              `ms on average, ${worst.toFixed(3)} ms at worst`);
  assert.ok(rate > 1 && rate < 63, `${rate} frames a second`);
  assert.deepStrictEqual(problems, []);
}

async function samePixels(browser) {
  reference('vote.raw', 195);
  reference('turned.raw', 239, '196+D,236-D');
  reference('unturned.raw', 239);
  const {page, problems} = await open(browser, '/?test-seed=' + kSeed);
  const steps = (n) => page.evaluate((n) => Module._vorn_test_steps(n), n);

  // The start screen and the vote's first frames: no ring has turned, every pixel is equal.
  await steps(195);
  const vote = await differences(page, 'vote.raw');
  assert.deepStrictEqual(vote.slice(0, 5), [], `vote frame differs at ${vote.length} pixels`);

  // D held for 40 frames turns the left ring. Where the browser's sine and cosine differ from
  // the desktop's in the last bit, a turned tile or a bounced halo may be a pixel off; so
  // everything outside the rings must be equal (scores, characters, panels, background), and
  // so must the tiles of the ring that did not turn.
  await page.keyboard.down('KeyD');
  await steps(40);
  await page.keyboard.up('KeyD');
  await steps(4);
  await page.screenshot({path: path.join(out, 'left-ring-turned.png')});
  const turned = await differences(page, 'turned.raw');
  const stray = turned.filter((p) => !withinRing(kLeftX, p) && !withinRing(kRightX, p));
  assert.deepStrictEqual(stray, [], 'outside the rings');
  assert.deepStrictEqual(turned.filter((p) => amongTiles(kRightX, p)), [], 'right ring tiles');
  const leftBand = turned.filter((p) => amongTiles(kLeftX, p)).length;
  console.log(`turned frame: ${turned.length} pixels differ (${leftBand} among the left ring's ` +
              'tiles), all inside the rings');

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
  // Debian's Chromium, over a pipe rather than a port; the driver never fetches a browser.
  const browser = await puppeteer.launch({
    executablePath: process.env.VORN_CHROMIUM || '/usr/bin/chromium', pipe: true, timeout: 120000,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic'],
    defaultViewport: {width: 1024, height: 768},
  });
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
