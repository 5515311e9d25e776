// The game's sound through Web Audio. The game's mixer (WebSoundPull) is pulled
// on the page's thread and its samples handed to an AudioWorklet
// (anagura-sound-worklet.js) a few tens of milliseconds ahead; where the
// browser has no worklet, a ScriptProcessor pulls them instead. Either way the
// same samples are played, each int16 sample s as s / 32768.
// Web Audio may start only after a gesture of the player's: the output is made
// at the first key, click or tap. Until then the mixer is not pulled, so every
// sound it was asked for plays from that moment. While the tab is hidden the
// game waits, and so does its sound.
var anaguraSound = (function () {
  'use strict';
  var kAheadSeconds = 0.06;  // what the worklet holds at most
  var kScriptFrames = 2048;  // a ScriptProcessor's block

  var sound = {
    rate: 0, context: null, node: null, way: '', peak: 0, frames: 0,
    sent: 0, played: 0, waitingWhileHidden: false,
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
    gesture: function () {
      if (!sound.rate) return;
      if (!sound.context) start();
      if (!sound.context || sound.context.state === 'running' || document.hidden) return;
      var resumed = sound.context.resume();
      if (resumed && resumed.catch) resumed.catch(function () {});
      setTimeout(noteState, 1000);
    }
  };

  // `frames` stereo frames from the game's mixer, interleaved, as -1..1.
  function pull(frames) {
    var out = new Float32Array(2 * frames);
    var at = Module._WebSoundPull(frames) >> 1;
    var samples = Module.HEAP16;
    var peak = sound.peak;
    for (var i = 0; i < 2 * frames; ++i) {
      var s = samples[at + i];
      out[i] = s / 32768;
      peak = Math.max(peak, s < 0 ? -s : s);
    }
    sound.peak = peak;
    sound.frames += frames;
    return out;
  }

  function start() {
    var Context = window.AudioContext || window.webkitAudioContext;
    try {
      sound.context = new Context({ sampleRate: sound.rate, latencyHint: 'interactive' });
    } catch (e) {
      sound.rate = 0;
      anaguraNotices.say('sound', anaguraTexts.soundBlocked);
      return;
    }
    sound.context.onstatechange = noteState;
    if (sound.context.audioWorklet && window.AudioWorkletNode) {
      sound.context.audioWorklet.addModule(anaguraOffline.versioned('anagura-sound-worklet.js')).then(startWorklet, startScriptProcessor);
    } else {
      startScriptProcessor();
    }
  }

  function startWorklet() {
    if (!sound.context) return;
    try {
      sound.node = new AudioWorkletNode(sound.context, 'anagura-sound', { numberOfInputs: 0, outputChannelCount: [2] });
    } catch (e) {
      return startScriptProcessor();
    }
    sound.way = 'worklet';
    sound.node.port.onmessage = function (event) {
      sound.played = event.data;
      feed();
    };
    sound.node.connect(sound.context.destination);
    feed();
  }

  // Tops the worklet up to kAheadSeconds of sound, in whole blocks of 128 frames.
  function feed() {
    var want = Math.round(sound.rate * kAheadSeconds) - (sound.sent - sound.played);
    want -= want % 128;
    if (want <= 0 || !sound.node) return;
    var chunk = pull(want);
    sound.node.port.postMessage(chunk, [chunk.buffer]);
    sound.sent += want;
  }

  function startScriptProcessor() {
    if (!sound.context) return;
    sound.way = 'script-processor';
    sound.node = sound.context.createScriptProcessor(kScriptFrames, 0, 2);
    sound.node.onaudioprocess = function (event) {
      var left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
      var samples = pull(left.length);
      for (var i = 0; i < left.length; ++i) {
        left[i] = samples[2 * i];
        right[i] = samples[2 * i + 1];
      }
    };
    sound.node.connect(sound.context.destination);
  }

  function noteState() {
    var running = sound.context && sound.context.state === 'running';
    if (running) anaguraNotices.remove('sound');
    else if (sound.context && !document.hidden && !sound.waitingWhileHidden) anaguraNotices.say('sound', anaguraTexts.soundBlocked);
  }

  // Hidden: the sound stops where the game stops, and goes on with it.
  document.addEventListener('visibilitychange', function () {
    if (!sound.context) return;
    if (document.hidden && sound.context.state === 'running') {
      sound.waitingWhileHidden = true;
      sound.context.suspend();
    } else if (!document.hidden && sound.waitingWhileHidden) {
      sound.waitingWhileHidden = false;
      var resumed = sound.context.resume();
      if (resumed && resumed.catch) resumed.catch(function () {});
    }
  });

  return sound;
})();
