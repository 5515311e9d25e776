// The page around the game: fetches the data folder into the game's file
// system (what the title needs first, the rest while it plays), keeps the
// player's files in the browser's storage, lays the picture out at a whole
// number of device pixels per game pixel beside the page's buttons, shows the
// frames on the canvas, keeps the screen awake while the game is played, and
// says on the page what went wrong. The game's side of it is
// src/media/web/WebPage.cpp (Module.page); the sound, the touch controls, the
// game files and the offline copy have scripts of their own.
(function () {
  'use strict';
  var texts = anaguraTexts;
  var notices = anaguraNotices;
  var dataFolder = '/data';
  var home = '/home/web_user';  // emscripten's $HOME: the player's settings, key file, log and game
  var query = new URLSearchParams(location.search);
  var tracing = query.has('trace');
  var body = document.body;
  var stage = document.getElementById('stage');
  var canvas = document.getElementById('screen');
  var context = canvas.getContext('2d', { alpha: false });
  var loadingLine = document.getElementById('loading');
  var overlay = document.getElementById('overlay');
  var pending = new Set();  // data files on their way (paths relative to the data folder)
  var laterFiles = [];
  var missingFiles = [];
  var picture = null;
  var storage = { kept: false, saving: false };

  // ------------------------------------------------------------ the picture

  // The box the picture may fill, in CSS pixels. On a touch screen held
  // upright the picture's row is as tall as the picture: it may take what the
  // pad below it leaves.
  function pictureBox() {
    if (!anaguraControls.touch() || innerWidth > innerHeight) return { width: stage.clientWidth, height: stage.clientHeight };
    var padHeight = Math.max(document.getElementById('dpad').offsetHeight, document.getElementById('actions').offsetHeight);
    var bottom = innerHeight - parseFloat(getComputedStyle(body).paddingBottom);
    return { width: stage.clientWidth, height: bottom - stage.getBoundingClientRect().top - padHeight - 6 };
  }

  // The largest whole multiple of the picture that fits its box, in device pixels.
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var box = pictureBox();
    var scale = Math.floor(Math.min(box.width * ratio / canvas.width, box.height * ratio / canvas.height));
    scale = Math.max(1, scale);
    canvas.style.width = (canvas.width * scale / ratio) + 'px';
    canvas.style.height = (canvas.height * scale / ratio) + 'px';
    placeOverlay();
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
      anaguraGameFile.forgetOpened();
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

  // ------------------------------------------------------------ above the picture

  // The help panel (or the settings panel), or a notice (the game's text of the
  // shell's overlay).
  function showOverlay(text, panel) {
    overlay.textContent = text.replace(/\n$/, '');
    overlay.className = panel ? 'panel' : 'notice-line';
    overlay.hidden = text === '';
    placeOverlay();
  }

  // A panel covers the picture's area (upright on a touch screen, down to the
  // pad), in the largest letters up to 16 px with which its lines fit; lines
  // that fit at no size are wrapped rather than cut.
  function placeOverlay() {
    if (overlay.hidden || overlay.className.indexOf('panel') < 0) {
      overlay.style.top = overlay.style.fontSize = overlay.style.maxWidth = overlay.style.maxHeight = '';
      return;
    }
    var width = stage.clientWidth, height = stage.clientHeight;
    if (anaguraControls.touch() && innerHeight >= innerWidth) {
      var pad = Math.min(document.getElementById('dpad').getBoundingClientRect().top,
        document.getElementById('actions').getBoundingClientRect().top);
      height = pad - stage.getBoundingClientRect().top;
    }
    width -= 8;
    height -= 8;
    overlay.classList.remove('wrapped');
    overlay.style.top = (height / 2 + 4) + 'px';
    overlay.style.fontSize = '16px';
    overlay.style.maxWidth = overlay.style.maxHeight = 'none';
    var shrink = Math.min(1, width / overlay.scrollWidth, height / overlay.scrollHeight);
    overlay.style.fontSize = Math.max(8, Math.floor(32 * shrink) / 2) + 'px';
    overlay.style.maxWidth = width + 'px';
    overlay.style.maxHeight = height + 'px';
    if (overlay.scrollWidth > overlay.clientWidth + 1) overlay.classList.add('wrapped');
  }

  new ResizeObserver(fit).observe(stage);
  window.addEventListener('resize', fit);

  // ------------------------------------------------------------ the page's buttons

  // The page's address without the words that choose a start, plus `extra`.
  function reloadWith(extra) {
    var next = new URLSearchParams(location.search);
    next.delete('continue');
    next.delete('continue-from');
    next.delete('lang');
    Object.keys(extra).forEach(function (name) { next.set(name, extra[name]); });
    location.search = next.toString().replace(/=(&|$)/g, '$1');
  }

  // A button of the page with its words (and, at a desk, its key).
  function button(id, words, key, action) {
    var b = document.getElementById(id);
    b.textContent = words;
    if (key) {
      var hint = document.createElement('span');
      hint.className = 'key';
      hint.textContent = ' (' + key + ')';
      b.appendChild(hint);
    }
    b.addEventListener('mousedown', function (e) { e.preventDefault(); });  // keeps the keys the game's
    if (action) b.addEventListener('click', action);
    return b;
  }

  button('help', texts.help, 'F1');
  button('settings', texts.settings, 'F2');
  var fullscreenButton = button('fullscreen', texts.fullscreen, 'F11', toggleFullscreen);
  if (!document.fullscreenEnabled) fullscreenButton.hidden = true;
  button('decide', texts.decide);
  button('cancel', texts.cancel);
  button('save-game', texts.saveGame);
  button('open-game', texts.openGame);
  button('language', texts.otherLanguage, '', function () {
    var other = texts.lang === 'ja' ? 'en' : 'ja';
    try { localStorage.setItem('anagura-lang', other); } catch (e) { return reloadWith({ lang: other }); }
    reloadWith({});
  });
  var continueButton = button('continue', texts.continueGame, '', function () { reloadWith({ continue: '' }); });
  document.documentElement.lang = texts.lang;

  // ------------------------------------------------------------ the player's gestures

  // Sound may start at a key, a click or a tap (the browser lets it only then),
  // and from the first one the screen is kept on while the game is played.
  function gesture() {
    anaguraSound.gesture();
    wakeLock.want();
  }
  ['keydown', 'pointerup', 'touchend', 'click'].forEach(function (type) {
    window.addEventListener(type, gesture, true);
  });

  var wakeLock = {
    wanted: false, sentinel: null,
    want: function () {
      wakeLock.wanted = true;
      wakeLock.take();
    },
    take: function () {
      if (!wakeLock.wanted || wakeLock.sentinel || document.hidden || !navigator.wakeLock) return;
      navigator.wakeLock.request('screen').then(function (sentinel) {
        wakeLock.sentinel = sentinel;
        sentinel.addEventListener('release', function () { wakeLock.sentinel = null; });
      }, function () {});
    },
    letGo: function () {
      wakeLock.wanted = false;
      if (wakeLock.sentinel) wakeLock.sentinel.release();
    }
  };
  // The browser lets the lock go with a hidden tab; it is taken again when the tab shows.
  document.addEventListener('visibilitychange', wakeLock.take);

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

  // One notice for every file that could not be loaded, naming the first few.
  function dataFileFailed(path, error) {
    missingFiles.push(path.replace(/^.*\//, ''));
    var names = missingFiles.slice(0, 3).join(', ') + (missingFiles.length > 3 ? ', …' : '');
    notices.say('data', texts.dataMissing(missingFiles.length, names), true);
    console.warn('anagura: data file ' + path + ' could not be loaded: ' + error.message);
  }

  function fetchDataFile(path) {
    return fetch(anaguraOffline.versioned('data/' + path)).then(function (response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function (buffer) {
      Module.FS.writeFile(dataFolder + '/' + path, new Uint8Array(buffer));
    }).catch(function (error) {
      dataFileFailed(path, error);
    });
  }

  // Before the game starts: the list and the files the title needs.
  function loadStartFiles() {
    Module.FS.mkdir(dataFolder);
    Module.addRunDependency('anagura-start-files');
    fetch(anaguraOffline.versioned('data/files.txt')).then(function (response) {
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
      dataFileFailed('data/files.txt', error);
    }).then(function () {
      // The data folder is the game's installed one: not the player's, so the
      // game keeps its log and key file in the player's folder under $HOME.
      Module.FS.chmod(dataFolder, 0x16D);  // r-xr-xr-x
      Module.removeRunDependency('anagura-start-files');
    });
  }

  // While the title plays (or as soon as the game waits for one of them, as a
  // continued game does before it shows anything): the rest, a few at a time;
  // then the page is kept for offline play.
  function loadLaterFiles() {
    if (loadLaterFiles.started) return;
    loadLaterFiles.started = true;
    var queue = laterFiles.slice();
    var running = 0;
    function next() {
      var path = queue.shift();
      if (path === undefined) {
        if (running === 0) anaguraOffline.keep();
        return;
      }
      ++running;
      fetchDataFile(path).then(function () {
        pending.delete(path);
        --running;
        next();
      });
    }
    for (var i = 0; i < 4; ++i) next();
  }

  // ------------------------------------------------------------ the player's files

  // The player's folder lives in IndexedDB: read before the game starts,
  // written back after the game has written to it. Under some privacy
  // settings even looking at IndexedDB throws: the game then plays and keeps nothing.
  function mountStorage() {
    var FS = Module.FS;
    var refused = function () { notices.say('storage', texts.storageRefused); };
    var database;
    try {
      database = window.indexedDB;
      FS.mount(FS.filesystems.IDBFS, {}, home);
    } catch (e) {
      database = null;
    }
    if (!database) return refused();
    Module.addRunDependency('anagura-storage');
    FS.syncfs(true, function (error) {
      if (error) refused();
      else keepStorage();
      storage.kept = !error;
      args.push.apply(args, anaguraGameFile.continueArguments());
      offerToContinue();
      Module.removeRunDependency('anagura-storage');
    });
  }

  // A game kept from before (the game's last-game.txt) can be continued until
  // the player starts playing.
  function offerToContinue() {
    if (args.indexOf('--continue') >= 0 || args.indexOf('--continue-from') >= 0) return;
    if (!Module.FS.analyzePath(home + '/.local/share/anagura/last-game.txt').exists) return;
    continueButton.hidden = false;
    var hide = function () { continueButton.hidden = true; };
    window.addEventListener('keydown', hide, { once: true });
    document.getElementById('dpad').addEventListener('pointerdown', hide, { once: true });
    document.getElementById('actions').addEventListener('pointerdown', hide, { once: true });
  }

  // Writes the player's folder back now; `done(failed)` when it is written or
  // has failed. A write that fails (a full storage) is said once while the game
  // plays on; one the browser never finishes counts as failed after 10 s.
  function keepNow(done) {
    if (storage.saving) return done && setTimeout(function () { keepNow(done); }, 100);
    storage.saving = true;
    var finished = false;
    var finish = function (error) {
      if (finished) return;
      finished = true;
      clearTimeout(watchdog);
      storage.saving = false;
      if (error) {
        notices.once('storage-failed', texts.storageFailed, true);
        console.warn('anagura: the player\'s folder could not be kept: ' + (error.message || error));
      }
      if (done) done(!!error);
    };
    var watchdog = setTimeout(function () { finish(new Error('the browser did not finish writing')); }, 10000);
    try {
      Module.FS.syncfs(false, finish);
    } catch (e) {
      finish(e);
    }
  }

  function keepStorage() {
    setInterval(function () { if (!storage.saving) keepNow(); }, 2000);
    document.addEventListener('visibilitychange', function () { if (document.hidden) keepNow(); });
    window.addEventListener('pagehide', function () { keepNow(); });
  }

  // ------------------------------------------------------------ the game

  // Under ?trace, a test may ask for the picture shown at the end of a frame
  // (anagura.shotAtFrame): the one the replay tool's screenshot of that frame holds.
  function keepPictureOf(line) {
    var m = /^\{"frame":(\d+),/.exec(line);
    if (!m || Number(m[1]) !== window.anagura.shotAtFrame) return;
    window.anagura.shot = Array.from(context.getImageData(0, 0, canvas.width, canvas.height).data);
  }

  // The game could not go on: said in the page's words where the cause is known.
  function stopped(what) {
    wakeLock.letGo();
    if (/CompileError|LinkError|magic word|prepare wasm|wasm streaming compile failed|WebAssembly\.instantiate/i.test(what)) {
      notices.say('stopped', texts.gameFileFailed('anagura.wasm'), true);
    } else {
      notices.say('stopped', texts.stopped + what, true);
    }
  }

  anaguraControls.start(fit);
  anaguraGameFile.start({
    home: home,
    storageKept: function () { return storage.kept; },
    keepNow: keepNow,
    reloadWith: reloadWith
  });
  fit();

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    notices.say('stopped', texts.noWasm, true);
    return;
  }

  // What a test or a measurement reads: when the first frame showed, the sound
  // sent out, the game's work per frame (the time it did not wait, and how
  // much of it the canvas upload took; ms), whether the screen is kept on and
  // the page kept offline, and under ?trace the picture of frame shotAtFrame.
  window.anagura = {
    lang: texts.lang, firstFrameAt: 0, sound: anaguraSound, work: { frames: 0, millis: 0, uploadMillis: 0 },
    offline: anaguraOffline.state, awake: function () { return !!wakeLock.sentinel; }, shotAtFrame: -1, shot: null
  };
  var args = ['--data', dataFolder, '--lang', texts.lang];
  if (query.has('continue')) args.push('--continue');
  // Once: a reload later starts at the title, with the game kept all the same.
  if (query.has('continue') || query.has('continue-from')) {
    query.delete('continue');
    query.delete('continue-from');
    history.replaceState(null, '', location.pathname + (query.toString() ? '?' + query.toString().replace(/=(&|$)/g, '$1') : ''));
  }
  if (tracing) args.push('--trace', '/dev/stdout');
  // A test replays it natively (a continued game records into the game kept).
  if (query.has('record') && args.indexOf('--continue') < 0) args.push('--record', '/anagura.rec');

  window.Module = {
    arguments: args,
    canvas: canvas,
    locateFile: function (path) { return anaguraOffline.versioned(path); },
    preRun: [mountStorage, loadStartFiles],
    print: function (line) {
      if (!tracing) return console.log(line);
      console.log('TRACE ' + line);
      keepPictureOf(line);
    },
    // The game's own words of trouble, each once; a file it misses that the
    // page could not fetch is already in the page's notice of those.
    printErr: function (line) {
      console.warn(line);
      if (!/^anagura: /.test(line)) return;
      var known = missingFiles.some(function (name) { return line.indexOf('/' + name + ' ') >= 0; });
      if (!known) notices.say('game: ' + line, line, true);
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
      gesture: gesture,
      sound: anaguraSound,
      pending: function (path) {
        var waiting = pending.has(relativeToData(path));
        if (waiting) loadLaterFiles();
        return waiting;
      },
      ended: function () {
        wakeLock.letGo();
        notices.say('ended', texts.ended);
      },
      overlay: showOverlay,
      showLoading: function (shown) {
        loadingLine.textContent = texts.loading;
        loadingLine.hidden = !shown;
      }
    }
  };

  anaguraOffline.sayIfUpdated();
  var code = document.createElement('script');
  code.src = anaguraOffline.versioned('anagura.js');
  code.onerror = function () { notices.say('stopped', texts.gameFileFailed('anagura.js'), true); };
  document.body.appendChild(code);
})();
