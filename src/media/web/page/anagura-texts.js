// What the page says, in the player's language: the one chosen on the page
// (?lang=ja or en, or the language button, kept in the browser), else Japanese
// for a browser in Japanese, else English. The game's words follow it.
var anaguraTexts = (function () {
  var ja = {
    noWasm: 'このブラウザーは WebAssembly を実行できないため、ゲームを始められません。最新の Chrome、Firefox、Safari、Edge でお試しください。',
    dataFailed: 'データファイルを読み込めませんでした: ',
    dataFailedTail: '。そのファイルなしで続けます。ページを再読み込みすると、もう一度読み込みます。',
    storageRefused: 'ブラウザーが保存を許可していません（プライベートブラウズなど）。設定は既定のままで、閉じると何も残りません。',
    soundBlocked: 'ブラウザーが音を止めています。サイトの設定で音（自動再生）を許可してから、ページをクリックしてください。',
    stopped: 'ゲームが止まりました: ',
    loading: '読み込み中…',
    ended: 'ゲームを終了しました。ページを再読み込みすると、もう一度遊べます。',
    fullscreen: '全画面 (F11)',
    help: 'ヘルプ (F1)',
    otherLanguage: 'English',
    continueGame: '前回のゲームを続ける'
  };
  var en = {
    noWasm: 'This browser cannot run WebAssembly, which the game needs. Please use a current Chrome, Firefox, Safari or Edge.',
    dataFailed: 'A data file could not be loaded: ',
    dataFailedTail: '. The game goes on without it; reload the page to try again.',
    storageRefused: 'This browser does not let the page keep files (private browsing?): the game plays with the default settings and keeps nothing.',
    soundBlocked: 'The browser keeps the sound off. Allow sound (autoplay) for this site in its settings, then click the page.',
    stopped: 'The game stopped: ',
    loading: 'Loading…',
    ended: 'The game has ended. Reload the page to play again.',
    fullscreen: 'Fullscreen (F11)',
    help: 'Help (F1)',
    otherLanguage: '日本語',
    continueGame: 'Continue the last game'
  };
  ja.lang = 'ja';
  en.lang = 'en';
  var asked = new URLSearchParams(location.search).get('lang');
  var kept = null;
  try { kept = localStorage.getItem('anagura-lang'); } catch (e) { /* storage refused */ }
  var lang = asked || kept || ((navigator.language || 'en').toLowerCase().indexOf('ja') === 0 ? 'ja' : 'en');
  return lang === 'ja' ? ja : en;
})();
