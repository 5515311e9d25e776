// What the page says, in the player's language: the one chosen on the page
// (?lang=ja or en, or the language button, kept in the browser), else Japanese
// for a browser in Japanese, else English. The game's words follow it.
var anaguraTexts = (function () {
  var ja = {
    noWasm: 'このブラウザーは WebAssembly を実行できないため、ゲームを始められません。最新の Chrome、Firefox、Safari、Edge でお試しください。',
    dataMissing: function (count, names) {
      return 'データファイル ' + count + ' 個を読み込めませんでした（' + names + '）。ゲームはそれなしで続きます（その絵や音は出ません）。' +
        'ネットワークが戻ったら、ページを再読み込みしてください。';
    },
    storageRefused: 'ブラウザーが保存を許可していません（プライベートブラウズなど）。設定は既定のままで、閉じると何も残りません。',
    storageFailed: 'ブラウザーにゲームを保存できません（容量が足りないなど）。遊び続けられますが、再読み込みすると続きからは遊べません。',
    soundBlocked: 'ブラウザーが音を止めています。サイトの設定で音（自動再生）を許可してから、ページをクリックしてください。',
    stopped: 'ゲームが止まりました: ',
    gameFileFailed: function (name) {
      return 'ゲームのファイル ' + name + ' を読み込めないか、壊れています。ネットワークを確かめて、ページを再読み込みしてください。';
    },
    loading: '読み込み中…',
    ended: 'ゲームを終了しました。ページを再読み込みすると、もう一度遊べます。',
    updateReady: 'ゲームの新しい版を受け取りました。次に開いたときから新しい版になります（いまは前の版です）。',
    updated: 'ゲームを新しい版にしました。',
    help: 'ヘルプ',
    settings: 'せってい',
    fullscreen: '全画面',
    decide: 'けってい',
    cancel: 'キャンセル',
    otherLanguage: 'English',
    continueGame: '前回のゲームを続ける',
    saveGame: 'ゲームをファイルに保存',
    openGame: 'ゲームのファイルを開く',
    noGameToSave: '保存するゲームがありません。ゲームを始めると、そのゲームを保存できます。',
    notAGameFile: 'このファイルからは続けられません: ',
    notAGameFileWhy: 'ゲームのファイルではありません',
    cannotKeepFile: 'ブラウザーが保存を許可していないため、ファイルを開けません。',
    close: '閉じる'
  };
  var en = {
    noWasm: 'This browser cannot run WebAssembly, which the game needs. Please use a current Chrome, Firefox, Safari or Edge.',
    dataMissing: function (count, names) {
      return count + (count === 1 ? ' data file' : ' data files') + ' could not be loaded (' + names + '). ' +
        'The game goes on without ' + (count === 1 ? 'it' : 'them') + ' (those pictures or sounds stay empty). ' +
        'Reload the page when the network is back.';
    },
    storageRefused: 'This browser does not let the page keep files (private browsing?): the game plays with the default settings and keeps nothing.',
    storageFailed: 'The browser cannot keep the game (its storage is full?): play on, but after a reload it cannot be continued.',
    soundBlocked: 'The browser keeps the sound off. Allow sound (autoplay) for this site in its settings, then click the page.',
    stopped: 'The game stopped: ',
    gameFileFailed: function (name) {
      return "The game's file " + name + ' could not be loaded or is damaged. Check the network and reload the page.';
    },
    loading: 'Loading…',
    ended: 'The game has ended. Reload the page to play again.',
    updateReady: 'A new version of the game has been downloaded. It starts the next time the page is opened (this is the old one).',
    updated: 'The game has been updated to its new version.',
    help: 'Help',
    settings: 'Settings',
    fullscreen: 'Fullscreen',
    decide: 'Decide',
    cancel: 'Cancel',
    otherLanguage: '日本語',
    continueGame: 'Continue the last game',
    saveGame: 'Save the game to a file',
    openGame: 'Open a game file',
    noGameToSave: 'There is no game to save yet: start one, and it can be saved.',
    notAGameFile: 'This file cannot be continued: ',
    notAGameFileWhy: 'it is not a game file',
    cannotKeepFile: 'This browser does not let the page keep files, so a game file cannot be opened.',
    close: 'Close'
  };
  ja.lang = 'ja';
  en.lang = 'en';
  var asked = new URLSearchParams(location.search).get('lang');
  var kept = null;
  try { kept = localStorage.getItem('anagura-lang'); } catch (e) { /* storage refused */ }
  var lang = asked || kept || ((navigator.language || 'en').toLowerCase().indexOf('ja') === 0 ? 'ja' : 'en');
  return lang === 'ja' ? ja : en;
})();
