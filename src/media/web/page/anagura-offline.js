// The page as an app that plays offline: its service worker (anagura-sw.js)
// keeps every file of the game once the first visit's title plays. The page
// asks for its files with its own version (versioned), so a page keeps the
// files it began with while a new version served is fetched in the background
// and takes over: the page says that the new version comes with the next
// visit, and on that visit says once that the game was updated.
var anaguraOffline = (function () {
  'use strict';
  var workers = navigator.serviceWorker;
  var meta = document.querySelector('meta[name="anagura-version"]');
  var state = { ready: false, version: meta ? meta.content : '' };

  // `url` of this page's own version.
  function versioned(url) { return state.version ? url + '?v=' + state.version : url; }

  // Says once that this page's version is not the one the browser had before.
  function sayIfUpdated() {
    if (!state.version) return;
    var before = null;
    try {
      before = localStorage.getItem('anagura-version');
      localStorage.setItem('anagura-version', state.version);
    } catch (e) { return; }
    if (before && before !== state.version) anaguraNotices.say('version', anaguraTexts.updated);
  }

  // A worker taking over a page it already served brings a new version.
  if (workers) {
    var controlled = !!workers.controller;
    workers.addEventListener('controllerchange', function () {
      if (controlled) anaguraNotices.say('version', anaguraTexts.updateReady);
      controlled = true;
    });
  }

  // Registers the worker (after the files the page loads itself, so that it
  // finds them in the browser's cache).
  function keep() {
    if (!workers) return;
    workers.register('anagura-sw.js').then(function () {
      return workers.ready;
    }).then(function () {
      state.ready = true;
    }, function (error) {
      console.warn('anagura: the page cannot be kept for offline play: ' + error.message);
    });
  }

  return { state: state, versioned: versioned, sayIfUpdated: sayIfUpdated, keep: keep };
})();
