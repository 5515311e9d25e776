// The page's notices, in a row above the picture (never over it): one notice
// for each kind of trouble, said again in its place rather than piled up, and
// closed by the player.
var anaguraNotices = (function () {
  'use strict';
  var box = document.getElementById('notices');
  var shown = {};  // kind -> its text element
  var said = {};   // kinds said once already

  // Shows `text` as the notice of its `kind` (replacing that kind's text).
  function say(kind, text, isError) {
    if (shown[kind]) {
      shown[kind].textContent = text;
      return;
    }
    var element = document.createElement('div');
    element.className = 'notice' + (isError ? ' error' : '');
    element.dataset.kind = kind;
    var words = document.createElement('p');
    words.textContent = text;
    var close = document.createElement('button');
    close.type = 'button';
    close.tabIndex = -1;
    close.textContent = '×';
    close.setAttribute('aria-label', anaguraTexts.close);
    close.addEventListener('click', function () { remove(kind); });
    element.appendChild(words);
    element.appendChild(close);
    box.appendChild(element);
    shown[kind] = words;
  }

  // The same, only the first time a notice of this kind is asked for.
  function once(kind, text, isError) {
    if (said[kind]) return;
    said[kind] = true;
    say(kind, text, isError);
  }

  function remove(kind) {
    if (!shown[kind]) return;
    shown[kind].parentNode.remove();
    delete shown[kind];
  }

  return { say: say, once: once, remove: remove };
})();
