// A small client of the browser's DevTools protocol over --remote-debugging-pipe: the browser
// reads commands on its descriptor 3 and writes replies and events on 4, each message JSON
// ended by a NUL byte. No npm package is needed.
'use strict';

const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync',
                '--remote-debugging-pipe', '--window-size=1024,768'];

class Browser {
  static launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorn-web-profile-'));
    const child = spawn(process.env.VORN_CHROMIUM || 'chromium',
                        [...kFlags, '--user-data-dir=' + profile, 'about:blank'],
                        {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
    return new Browser(child, profile);
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = [];
    let pending = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      pending = Buffer.concat([pending, chunk]);
      for (let end = pending.indexOf(0); end >= 0; end = pending.indexOf(0)) {
        const message = JSON.parse(pending.subarray(0, end).toString('utf8'));
        pending = pending.subarray(end + 1);
        this.receive(message);
      }
    });
    child.on('exit', () => {
      for (const {reject} of this.waiting.values()) reject(new Error('the browser has gone'));
      this.waiting.clear();
    });
  }

  receive(message) {
    if (message.id === undefined) {
      for (const listener of this.listeners) listener(message);
      return;
    }
    const call = this.waiting.get(message.id);
    if (call === undefined) return;
    this.waiting.delete(message.id);
    if (message.error) {
      call.reject(new Error(call.method + ': ' + message.error.message));
    } else {
      call.resolve(message.result);
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (sessionId !== undefined) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, {resolve, reject, method});
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  onEvent(listener) {
    this.listeners.push(listener);
  }

  // A new tab, attached: commands sent through it go to that page.
  async newPage() {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    return new Page(this, sessionId);
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch (e) {
      // already gone
    }
    // The profile is removed once the browser has stopped writing to it.
    if (this.child.exitCode === null && this.child.signalCode === null) {
      const gone = new Promise((r) => this.child.once('exit', r));
      this.child.kill();
      await gone;
    }
    // Helper processes may still finish writing: a few tries, and a leftover is no failure.
    try {
      fs.rmSync(this.profile, {recursive: true, force: true, maxRetries: 20, retryDelay: 100});
    } catch (e) {
      console.warn('could not remove ' + this.profile + ': ' + e.message);
    }
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  onEvent(method, listener) {
    this.browser.onEvent((message) => {
      if (message.sessionId === this.sessionId && message.method === method) {
        listener(message.params);
      }
    });
  }

  // The value of a page expression (awaited if it is a promise); throws what the page threw.
  async evaluate(expression) {
    const reply = await this.send('Runtime.evaluate',
                                  {expression, awaitPromise: true, returnByValue: true});
    if (reply.exceptionDetails) {
      const details = reply.exceptionDetails;
      throw new Error(expression + ': ' + (details.exception?.description || details.text));
    }
    return reply.result.value;
  }

  async waitFor(expression, timeoutMs = 10000) {
    const until = Date.now() + timeoutMs;
    while (Date.now() < until) {
      if (await this.evaluate(expression)) return;
      await new Promise((r) => setTimeout(r, 50));
    }
    throw new Error('timed out waiting for ' + expression);
  }

  // Key presses as the keyboard makes them: position, produced text and legacy code.
  key(type, code, key, keyCode) {
    const text = type === 'keyDown' && key.length === 1 ? key : undefined;
    return this.send('Input.dispatchKeyEvent', {
      type: text !== undefined ? 'keyDown' : type === 'keyDown' ? 'rawKeyDown' : type, code, key,
      text, windowsVirtualKeyCode: keyCode,
    });
  }

  async screenshot(file) {
    const {data} = await this.send('Page.captureScreenshot', {format: 'png'});
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }
}

module.exports = {Browser};
