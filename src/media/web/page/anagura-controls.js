// The game's buttons for a touch screen, and the page's buttons that press a
// player button (help, settings): each press reaches the game through the
// shell as its key would (Module._WebPlayerButton: 0 up, 1 down, 2 right,
// 3 left, 4 decide, 5 cancel, 6 help, 7 settings, 8 fast-forward).
//
// The d-pad is one surface: the direction is where the finger is from its
// centre, so a finger may slide from one direction to another. Decide, cancel
// and fast-forward are held while a finger is on them, and a finger may slide
// from one to another too. A button is down while any finger holds it.
//
// The touch controls show from the start where the main pointer is a touch
// screen, and on any device at its first touch; a key or a gamepad in use hides
// them, the next touch brings them back.
var anaguraControls = (function () {
  'use strict';
  var body = document.body;
  var holders = {};  // player button -> how many pointers hold it
  var pointers = {};  // pointer id -> the player button it holds (or -1)
  var onLayout = function () {};

  function send(button, down) {
    if (!window.Module) return;
    if (Module._WebPlayerButton) Module._WebPlayerButton(button, down ? 1 : 0);
    else if (button === 6 && down && Module._WebToggleHelp) Module._WebToggleHelp();
  }

  function elementOf(button) { return document.querySelector('[data-button="' + button + '"]'); }

  function hold(id, button) {
    var before = id in pointers ? pointers[id] : -1;
    if (before === button) return;
    pointers[id] = button;
    if (before >= 0 && --holders[before] === 0) {
      elementOf(before).classList.remove('held');
      send(before, false);
    }
    if (button >= 0 && (holders[button] = (holders[button] || 0) + 1) === 1) {
      elementOf(button).classList.add('held');
      send(button, true);
    }
  }

  function letGo(id) {
    hold(id, -1);
    delete pointers[id];
  }

  // The direction under a point of the d-pad: the side of its centre the point
  // is most towards, none in the middle.
  function directionAt(pad, x, y) {
    var r = pad.getBoundingClientRect();
    var dx = x - (r.left + r.width / 2), dy = y - (r.top + r.height / 2);
    if (Math.max(Math.abs(dx), Math.abs(dy)) < Math.min(r.width, r.height) * 0.12) return -1;
    if (Math.abs(dx) > Math.abs(dy)) return dx > 0 ? 2 : 3;
    return dy > 0 ? 1 : 0;
  }

  // The player button under a point of a group of buttons, or -1.
  function buttonAt(group, x, y) {
    var element = document.elementFromPoint(x, y);
    var button = element && element.closest('[data-button]');
    return button && group.contains(button) ? Number(button.dataset.button) : -1;
  }

  // A group of buttons a finger (or the mouse) holds: `find` says which button
  // a point holds; with `slides` the held button follows the pointer.
  function surface(group, find, slides) {
    group.addEventListener('pointerdown', function (event) {
      var button = find(group, event.clientX, event.clientY);
      if (event.button > 0 || (button < 0 && !slides)) return;  // the page's own buttons click as usual
      event.preventDefault();  // no focus, no selection, no mouse events after a touch
      group.setPointerCapture(event.pointerId);
      hold(event.pointerId, button);
    });
    group.addEventListener('pointermove', function (event) {
      if (slides && event.pointerId in pointers) hold(event.pointerId, find(group, event.clientX, event.clientY));
    });
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
      group.addEventListener(type, function (event) { letGo(event.pointerId); });
    });
    // A press that comes without a pointer (a screen reader's, say): down, then up.
    group.addEventListener('click', function (event) {
      if (event.detail !== 0) return;
      var button = event.target.closest('[data-button]');
      if (!button) return;
      send(Number(button.dataset.button), true);
      send(Number(button.dataset.button), false);
    });
    group.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  }

  function releaseAll() { Object.keys(pointers).forEach(letGo); }

  // ------------------------------------------------------------ shown or not

  function setTouch(on) {
    if (body.classList.contains('touch') === on) return;
    if (!on) releaseAll();
    body.classList.toggle('touch', on);
    onLayout();
  }

  // A gamepad in use hides the touch controls: while pads are plugged in, they are looked at now and then.
  var padTimer = 0;
  function lookAtPads() {
    var pads = navigator.getGamepads ? Array.from(navigator.getGamepads()).filter(Boolean) : [];
    if (!pads.length) {
      clearInterval(padTimer);
      padTimer = 0;
      return;
    }
    var used = pads.some(function (pad) {
      return pad.buttons.some(function (b) { return b.pressed; }) ||
        pad.axes.some(function (a) { return Math.abs(a) > 0.5; });
    });
    if (used) setTouch(false);
  }

  function start(layoutChanged) {
    onLayout = layoutChanged;
    surface(document.getElementById('dpad'), directionAt, true);
    surface(document.getElementById('actions'), buttonAt, true);
    surface(document.getElementById('system'), buttonAt, false);
    var coarse = window.matchMedia && matchMedia('(pointer: coarse)').matches;
    setTouch(!!coarse);
    window.addEventListener('pointerdown', function (event) {
      if (event.pointerType === 'touch') setTouch(true);
    }, true);
    window.addEventListener('keydown', function () { setTouch(false); }, true);
    window.addEventListener('gamepadconnected', function () {
      if (!padTimer) padTimer = setInterval(lookAtPads, 250);
    });
    window.addEventListener('blur', releaseAll);
    document.addEventListener('visibilitychange', function () { if (document.hidden) releaseAll(); });
  }

  return { start: start, touch: function () { return body.classList.contains('touch'); } };
})();
