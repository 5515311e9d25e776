// The page around the game: fetches the data folder into the game's file
// system (what the title needs first, the rest while it plays), keeps the
// player's files in the browser's storage, shows the frames on the canvas,
// plays the sound, and says on the page what went wrong. The game's side of it
// is src/media/web/WebPage.cpp (Module.page).
(function () {
  'use strict';
  var texts = anaguraTexts;
  var dataFolder = '/data';
  var home = '/home/web_user';  // emscripten's $HOME: the player's settings, key file and log
  var query = new URLSearchParams(location.search);
  var tracing = query.has('trace');
  var canvas = document.getElementById('screen');
  var context = canvas.getContext('2d', { alpha: false });
  var loadingLine = document.getElementById('loading');
  var overlay = document.getElementById('overlay');
  var pending = new Set();  // data files on their way (paths relative to the data folder)
  var laterFiles = [];
  var picture = null;

  function notice(text, isError) {
    var p = document.createElement('p');
    p.className = 'notice' + (isError ? ' error' : '');
    p.textContent = text;
    document.getElementById('notices').appendChild(p);
    return p;
  }

  // ------------------------------------------------------------ the picture

  // The largest whole multiple of the picture that fits the window, in device pixels.
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var scale = Math.floor(Math.min(innerWidth * ratio / canvas.width, innerHeight * ratio / canvas.height));
    scale = Math.max(1, scale);
    canvas.style.width = (canvas.width * scale / ratio) + 'px';
    canvas.style.height = (canvas.height * scale / ratio) + 'px';
    return scale;
  }

  // The picture is read where the game left it in its memory (`at` in `heap`);
  // the view is made again when the memory has grown or the picture moved.
  function show(heap, at, width, height) {
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      picture = null;
      fit();
    }
    if (!picture || picture.data.buffer !== heap.buffer || picture.data.byteOffset !== at) {
      picture = new ImageData(new Uint8ClampedArray(heap.buffer, at, width * height * 4), width, height);
    }
    context.putImageData(picture, 0, 0);
    if (!show.first) {
      show.first = true;
      window.anagura.firstFrameAt = performance.now();
      loadLaterFiles();
    }
  }

  // The next animation frame; a hidden tab has none, so it ends after 100 ms there.
  function nextFrame() {
    return new Promise(function (resolve) {
      var timer = setTimeout(resolve, 100);
      requestAnimationFrame(function () {
        clearTimeout(timer);
        resolve();
      });
    });
  }

  function setFullscreen(on) {
    try {
      var request = on ? document.documentElement.requestFullscreen() : document.exitFullscreen();
      if (request && request.catch) request.catch(function () {});
      return true;
    } catch (e) {
      return false;
    }
  }

  function toggleFullscreen() { setFullscreen(!document.fullscreenElement); }

  window.addEventListener('resize', fit);
  fit();

  // The help panel, or a notice (the game's text of core/WindowOverlay.h).
  function showOverlay(text, panel) {
    overlay.textContent = text.replace(/\n$/, '');
    overlay.className = panel ? 'panel' : 'notice-line';
    overlay.hidden = text === '';
  }

  // ------------------------------------------------------------ the buttons

  // The page's address without the words that choose a start, plus `extra`.
  function reloadWith(extra) {
    var next = new URLSearchParams(location.search);
    next.delete('continue');
    next.delete('lang');
    Object.keys(extra).forEach(function (name) { next.set(name, extra[name]); });
    location.search = next.toString().replace(/=(&|$)/g, '$1');
  }

  function button(id, text, action) {
    var b = document.getElementById(id);
    b.textContent = text;
    b.addEventListener('mousedown', function (e) { e.preventDefault(); });  // keeps the keys the game's
    b.addEventListener('click', action);
    return b;
  }

  button('fullscreen', texts.fullscreen, toggleFullscreen);
  button('help', texts.help, function () { if (Module._WebToggleHelp) Module._WebToggleHelp(); });
  button('language', texts.otherLanguage, function () {
    var other = texts.lang === 'ja' ? 'en' : 'ja';
    try { localStorage.setItem('anagura-lang', other); } catch (e) { return reloadWith({ lang: other }); }
    reloadWith({});
  });
  var continueButton = button('continue', texts.continueGame, function () { reloadWith({ continue: '' }); });

  // ------------------------------------------------------------ the sound

  // Web Audio may start only after a gesture of the player's: the output is
  // made at the first key or click. Until then the game's mixer is not pulled,
  // so every sound it was asked for plays from that moment.
  var sound = {
    rate: 0, context: null, node: null, blockedNotice: null,
    peak: 0, frames: 0,
    open: function (rate) {
      if (!(window.AudioContext || window.webkitAudioContext)) return false;
      sound.rate = rate;
      return true;
    },
    close: function () {
      if (sound.context) sound.context.close();
      sound.context = null;
      sound.node = null;
      sound.rate = 0;
    },
    start: function () {
      var Context = window.AudioContext || window.webkitAudioContext;
      try {
        sound.context = new Context({ sampleRate: sound.rate, latencyHint: 'interactive' });
      } catch (e) {
        sound.rate = 0;
        notice(texts.soundBlocked);
        return;
      }
      sound.node = sound.context.createScriptProcessor(2048, 0, 2);
      sound.node.onaudioprocess = sound.pull;
      sound.node.connect(sound.context.destination);
      sound.context.onstatechange = sound.noteState;
    },
    pull: function (event) {
      var left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
      var n = left.length;
      var at = Module._WebSoundPull(n) >> 1;
      var samples = Module.HEAP16;
      var peak = sound.peak;
      for (var i = 0; i < n; ++i) {
        var l = samples[at + 2 * i], r = samples[at + 2 * i + 1];
        left[i] = l / 32768;
        right[i] = r / 32768;
        peak = Math.max(peak, l < 0 ? -l : l, r < 0 ? -r : r);
      }
      sound.peak = peak;
      sound.frames += n;
    },
    gesture: function () {
      if (!sound.rate) return;
      if (!sound.context) sound.start();
      if (!sound.context || sound.context.state === 'running') return;
      var resumed = sound.context.resume();
      if (resumed && resumed.catch) resumed.catch(function () {});
      setTimeout(sound.noteState, 1000);
    },
    noteState: function () {
      var running = sound.context && sound.context.state === 'running';
      if (running && sound.blockedNotice) {
        sound.blockedNotice.remove();
        sound.blockedNotice = null;
      } else if (!running && sound.context && !sound.blockedNotice) {
        sound.blockedNotice = notice(texts.soundBlocked);
      }
    }
  };

  // ------------------------------------------------------------ the data folder

  function relativeToData(path) {
    if (path.indexOf(dataFolder + '/') === 0) return path.slice(dataFolder.length + 1);
    return path.replace(/^(\.\/)+/, '');
  }

  function makeFoldersOf(path) {
    var parts = path.split('/');
    var folder = dataFolder;
    for (var i = 0; i + 1 < parts.length; ++i) {
      folder += '/' + parts[i];
      try { Module.FS.mkdir(folder); } catch (e) { /* already there */ }
    }
  }

  function writeDataFile(path, bytes) { Module.FS.writeFile(dataFolder + '/' + path, bytes); }

  function fetchDataFile(path) {
    return fetch('data/' + path).then(function (response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function (buffer) {
      writeDataFile(path, new Uint8Array(buffer));
    }).catch(function (error) {
      notice(texts.dataFailed + path + ' (' + error.message + ')' + texts.dataFailedTail, true);
      console.warn('anagura: data file ' + path + ' could not be loaded: ' + error.message);
    });
  }

  // Before the game starts: the list and the files the title needs.
  function loadStartFiles() {
    Module.FS.mkdir(dataFolder);
    Module.addRunDependency('anagura-start-files');
    fetch('data/files.txt').then(function (response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      return response.text();
    }).then(function (list) {
      var start = [];
      list.split('\n').forEach(function (line) {
        var m = /^(start|later) (.+)$/.exec(line.trim());
        if (!m) return;
        makeFoldersOf(m[2]);
        if (m[1] === 'start') start.push(m[2]);
        else {
          laterFiles.push(m[2]);
          pending.add(m[2]);
        }
      });
      return Promise.all(start.map(fetchDataFile));
    }).catch(function (error) {
      notice(texts.dataFailed + 'data/files.txt (' + error.message + ')' + texts.dataFailedTail, true);
    }).then(function () {
      // The data folder is the game's installed one: not the player's, so the
      // game keeps its log and key file in the player's folder under $HOME.
      Module.FS.chmod(dataFolder, 0x16D);  // r-xr-xr-x
      Module.removeRunDependency('anagura-start-files');
    });
  }

  // While the title plays (or as soon as the game waits for one of them, as a
  // continued game does before it shows anything): the rest, a few at a time.
  function loadLaterFiles() {
    if (loadLaterFiles.started) return;
    loadLaterFiles.started = true;
    var queue = laterFiles.slice();
    function next() {
      var path = queue.shift();
      if (path === undefined) return;
      fetchDataFile(path).then(function () {
        pending.delete(path);
        next();
      });
    }
    for (var i = 0; i < 4; ++i) next();
  }

  // ------------------------------------------------------------ the player's files

  // The player's folder lives in IndexedDB: read before the game starts,
  // written back after the game has written to it.
  function mountStorage() {
    var FS = Module.FS;
    var refused = function () { notice(texts.storageRefused); };
    if (typeof indexedDB === 'undefined') return refused();
    try {
      FS.mount(FS.filesystems.IDBFS, {}, home);
    } catch (e) {
      return refused();
    }
    Module.addRunDependency('anagura-storage');
    FS.syncfs(true, function (error) {
      if (error) refused();
      else keepStorage();
      offerToContinue();
      Module.removeRunDependency('anagura-storage');
    });
  }

  // A game kept from before (the game's last-game.txt) can be continued until
  // the player starts playing.
  function offerToContinue() {
    if (args.indexOf('--continue') >= 0) return;
    if (!Module.FS.analyzePath(home + '/.local/share/anagura/last-game.txt').exists) return;
    continueButton.hidden = false;
    window.addEventListener('keydown', function () { continueButton.hidden = true; }, { once: true });
  }

  function keepStorage() {
    var saving = false;
    function save() {
      if (saving) return;
      saving = true;
      Module.FS.syncfs(false, function () { saving = false; });
    }
    setInterval(save, 2000);
    document.addEventListener('visibilitychange', function () { if (document.hidden) save(); });
    window.addEventListener('pagehide', save);
  }

  // ------------------------------------------------------------ the game

  // Under ?trace, a test may ask for the picture shown at the end of a frame
  // (anagura.shotAtFrame): the one the replay tool's screenshot of that frame holds.
  function keepPictureOf(line) {
    var m = /^\{"frame":(\d+),/.exec(line);
    if (!m || Number(m[1]) !== window.anagura.shotAtFrame) return;
    window.anagura.shot = Array.from(context.getImageData(0, 0, canvas.width, canvas.height).data);
  }

  function stopped(what) {
    notice(texts.stopped + what, true);
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    notice(texts.noWasm, true);
    return;
  }

  // What a test or a measurement reads: when the first frame showed, the sound
  // sent out, the game's work per frame (the time it did not wait, and how
  // much of it the canvas upload took; ms), and
  // under ?trace the picture of frame shotAtFrame.
  window.anagura = { lang: texts.lang, firstFrameAt: 0, sound: sound, work: { frames: 0, millis: 0, uploadMillis: 0 }, shotAtFrame: -1, shot: null };
  var args = ['--data', dataFolder, '--lang', texts.lang];
  if (query.has('continue')) {
    // Once: a reload later starts at the title, with the game kept all the same.
    args.push('--continue');
    query.delete('continue');
    history.replaceState(null, '', location.pathname + (query.toString() ? '?' + query.toString().replace(/=(&|$)/g, '$1') : ''));
  }
  if (tracing) args.push('--trace', '/dev/stdout');
  // A test replays it natively (a continued game records into the game kept).
  if (query.has('record') && args.indexOf('--continue') < 0) args.push('--record', '/anagura.rec');

  window.Module = {
    arguments: args,
    canvas: canvas,
    preRun: [mountStorage, loadStartFiles],
    print: function (line) {
      if (!tracing) return console.log(line);
      console.log('TRACE ' + line);
      keepPictureOf(line);
    },
    printErr: function (line) {
      console.warn(line);
      if (/^anagura: /.test(line)) notice(line, true);
    },
    onAbort: function (what) { stopped(String(what)); },
    page: {
      show: show,
      nextFrame: nextFrame,
      frameWork: function (millis, uploadMillis) {
        window.anagura.work.frames += 1;
        window.anagura.work.millis += millis;
        window.anagura.work.uploadMillis += uploadMillis;
      },
      shownScale: fit,
      setFullscreen: setFullscreen,
      toggleFullscreen: toggleFullscreen,
      gesture: function () { sound.gesture(); },
      sound: sound,
      pending: function (path) {
        var waiting = pending.has(relativeToData(path));
        if (waiting) loadLaterFiles();
        return waiting;
      },
      ended: function () { notice(texts.ended); },
      overlay: showOverlay,
      showLoading: function (shown) {
        loadingLine.textContent = texts.loading;
        loadingLine.hidden = !shown;
      }
    }
  };

  var code = document.createElement('script');
  code.src = 'anagura.js';
  code.onerror = function () { stopped(texts.dataFailed + 'anagura.js'); };
  document.body.appendChild(code);
})();
