// Games carried between devices: "Save the game to a file" hands the player
// the game kept in the browser (the game's last-game.txt, as the desktop keeps
// it), and "Open a game file" continues a game saved on the desktop or in
// another browser. The file opened is put beside the kept game and the page
// starts again with it (--continue-from): the game itself checks it, and a file
// it refuses leaves the kept game as it was.
var anaguraGameFile = (function () {
  'use strict';
  var texts = anaguraTexts;
  var page = null;

  function folder() { return page.home + '/.local/share/anagura'; }
  function keptGame() { return folder() + '/last-game.txt'; }
  function openedGame() { return folder() + '/opened-game.txt'; }

  function twoDigits(n) { return (n < 10 ? '0' : '') + n; }

  function save() {
    var FS = Module.FS;
    if (!FS || !FS.analyzePath(keptGame()).exists) {
      anaguraNotices.say('game-file', texts.noGameToSave);
      return;
    }
    var now = new Date();
    var name = 'anagura-game-' + now.getFullYear() + twoDigits(now.getMonth() + 1) + twoDigits(now.getDate()) + '-' +
      twoDigits(now.getHours()) + twoDigits(now.getMinutes()) + '.txt';
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([FS.readFile(keptGame())], { type: 'text/plain' }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
  }

  // A recording begins with its seed; anything else is not a game of ours.
  function looksLikeAGame(bytes) {
    var head = new TextDecoder('utf-8').decode(bytes.subarray(0, 16)).replace(/^\uFEFF/, '');
    return /^# seed \d/.test(head);
  }

  function open(file) {
    file.arrayBuffer().then(function (buffer) {
      var bytes = new Uint8Array(buffer);
      if (!looksLikeAGame(bytes)) {
        anaguraNotices.say('game-file', texts.notAGameFile + file.name + ': ' + texts.notAGameFileWhy, true);
        return;
      }
      if (!page.storageKept()) {
        anaguraNotices.say('game-file', texts.cannotKeepFile, true);
        return;
      }
      Module.FS.mkdirTree(folder());
      Module.FS.writeFile(openedGame(), bytes);
      page.keepNow(function () { page.reloadWith({ 'continue-from': '' }); });
    }, function (error) {
      anaguraNotices.say('game-file', texts.notAGameFile + file.name + ' (' + error.message + ')', true);
    });
  }

  // `hooks`: the player's folder (home), whether the browser keeps it
  // (storageKept), keepNow(done) to write it back at once, reloadWith(words).
  function start(hooks) {
    page = hooks;
    var chooser = document.getElementById('game-file');
    document.getElementById('save-game').addEventListener('click', save);
    document.getElementById('open-game').addEventListener('click', function () {
      chooser.value = '';
      chooser.click();
    });
    chooser.addEventListener('change', function () { if (chooser.files[0]) open(chooser.files[0]); });
  }

  // The command line's words for a game file opened before this start, if any.
  function continueArguments() {
    if (!Module.FS.analyzePath(openedGame()).exists) return [];
    return ['--continue-from', openedGame()];
  }

  // Once the game has read it, the file opened is not kept twice.
  function forgetOpened() {
    try { Module.FS.unlink(openedGame()); } catch (e) { /* never there */ }
  }

  return { start: start, continueArguments: continueArguments, forgetOpened: forgetOpened };
})();
