// The page around the program: its data, its options from the query string, the canvas it
// draws on, its sound, its message boxes, and the "Press any key" that browsers need before
// they play sound. The program calls VornPage; the page starts the program.
'use strict';

const VornPage = (() => {
  const query = new URLSearchParams(location.search);
  // ?test-seed=N: a test steps the program itself (vorn_test_steps) on a fixed seed and clock.
  const testSeed = query.get('test-seed');
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', {alpha: false});
  const press = document.getElementById('press');
  let picture = null;

  // The desktop program's options: ?right=cpu:2&fullscreen gives --right cpu:2 --fullscreen.
  function programArguments() {
    const args = [];
    for (const [key, value] of query) {
      if (key.startsWith('test-')) continue;
      args.push('--' + key);
      if (value !== '') args.push(value);
    }
    return args;
  }

  // The canvas fills as much of the window as it can with its shape kept, at a whole multiple
  // of its size where it fits at least once, so that the pixels stay crisp.
  function fit() {
    const scale = Math.min(innerWidth / canvas.width, innerHeight / canvas.height);
    const whole = scale >= 1 ? Math.floor(scale) : scale;
    const width = canvas.width * whole;
    const height = canvas.height * whole;
    Object.assign(canvas.style, {
      width: width + 'px', height: height + 'px',
      left: Math.floor((innerWidth - width) / 2) + 'px',
      top: Math.floor((innerHeight - height) / 2) + 'px',
    });
  }
  addEventListener('resize', fit);
  fit();

  // Message boxes queue up and are shown one after another; the console gets each one too.
  const boxes = [];
  const boxView = document.getElementById('boxes');
  function nextBox() {
    if (boxes.length === 0) {
      boxView.style.display = 'none';
      return;
    }
    const [caption, text] = boxes[0];
    document.getElementById('box-caption').textContent = caption;
    document.getElementById('box-text').textContent = text;
    boxView.style.display = 'flex';
  }
  document.getElementById('box-ok').addEventListener('click', () => {
    boxes.shift();
    nextBox();
  });

  // Sound: every buffer of the program by number, with its position and the source playing it.
  const audio = {
    context: null,
    buffers: new Map(),
    start() {
      if (this.context === null) {
        try {
          this.context = new AudioContext();
        } catch (e) {
          return;
        }
      }
      this.context.resume();
    },
    position(entry) {
      if (entry.source === null) return entry.offset;
      return Math.min(entry.buffer.duration, entry.offset + this.context.currentTime - entry.since);
    },
    startSource(entry) {
      const source = this.context.createBufferSource();
      source.buffer = entry.buffer;
      source.connect(this.context.destination);
      source.onended = () => {
        if (entry.source !== source) return;
        entry.source = null;
        entry.offset = entry.buffer.duration;
      };
      entry.since = this.context.currentTime;
      source.start(0, entry.offset);
      entry.source = source;
    },
    stopSource(entry) {
      if (entry.source === null) return;
      entry.offset = this.position(entry);
      const source = entry.source;
      entry.source = null;
      source.stop();
    },
    set(id, samples, frames, channels, rate) {
      this.drop(id);
      let buffer;
      try {
        buffer = new AudioBuffer({length: Math.max(1, frames), numberOfChannels: channels,
                                  sampleRate: rate});
      } catch (e) {
        return;  // a rate the browser cannot play: the buffer stays silent
      }
      for (let c = 0; c < channels; ++c) {
        const channel = buffer.getChannelData(c);
        for (let i = 0; i < frames; ++i) channel[i] = samples[i * channels + c];
      }
      this.buffers.set(id, {buffer, offset: 0, since: 0, source: null});
    },
    // A playing buffer goes on from the new position.
    seek(id, seconds) {
      const entry = this.buffers.get(id);
      if (entry === undefined) return;
      const playing = entry.source !== null;
      this.stopSource(entry);
      entry.offset = Math.min(seconds, entry.buffer.duration);
      if (playing) this.startSource(entry);
    },
    // Plays once from the position; a playing buffer goes on playing. Before the first key
    // there is no sound at all.
    play(id) {
      const entry = this.buffers.get(id);
      if (entry === undefined || entry.source !== null || this.context === null) return;
      if (entry.offset >= entry.buffer.duration) return;
      this.startSource(entry);
    },
    drop(id) {
      const entry = this.buffers.get(id);
      if (entry === undefined) return;
      this.stopSource(entry);
      this.buffers.delete(id);
    },
  };

  const costs = {count: 0, total: 0, worst: 0};

  const page = {
    audio,
    costs,
    steppedByTest: () => testSeed !== null,
    show(heap, at, width, height) {
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        fit();
      }
      if (picture === null || picture.data.buffer !== heap.buffer ||
          picture.data.byteOffset !== at || picture.width !== width ||
          picture.height !== height) {
        picture = new ImageData(new Uint8ClampedArray(heap.buffer, at, width * height * 4),
                                width, height);
      }
      context.putImageData(picture, 0, 0);
    },
    messageBox(caption, text) {
      console.error((caption ? caption + ': ' : '') + text);
      boxes.push([caption, text]);
      if (boxes.length === 1) nextBox();
    },
    // The program has started and waits for its frames.
    running() {
      if (testSeed === null) press.textContent = 'Press any key';
      page.started = true;
    },
    begin() {
      press.style.display = 'none';
      audio.start();
    },
    exited(status) {
      document.getElementById('ended-text').textContent =
          'The game has ended (exit status ' + status + ').';
      document.getElementById('ended').style.display = 'flex';
    },
    frameCost(ms) {
      costs.count += 1;
      costs.total += ms;
      costs.worst = Math.max(costs.worst, ms);
    },
  };

  // The data, gzip-compressed on the server, is unpacked here before the program starts: a
  // host that already unpacked it on the way hands over the plain bytes, which are kept.
  async function loadData() {
    const response = await fetch('vorn-data.bin');
    if (!response.ok) throw new Error('the game data could not be loaded: ' + response.status);
    const bytes = new Uint8Array(await response.arrayBuffer());
    if (bytes[0] !== 0x1f || bytes[1] !== 0x8b) return bytes.buffer;
    const unpacked = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(unpacked).arrayBuffer();
  }

  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error('could not load ' + src));
      document.body.appendChild(script);
    });
  }

  async function start() {
    const data = await loadData();
    if (testSeed !== null) {
      // The program seeds its game from the time of day; a test fixes it.
      const seconds = Number(testSeed);
      Date.now = () => seconds * 1000;
      press.style.display = 'none';
    }
    window.Module = {
      arguments: programArguments(),
      canvas,
      getPreloadedPackage: () => data,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onExit: (status) => page.exited(status),
    };
    await loadScript('vorn-data.js');
    await loadScript('vorn.js');
  }

  start().catch((error) => page.messageBox('Vorn', String(error.message || error)));
  return page;
})();
