// Run first by the replay tool built for node. Its WebAssembly lies beside it
// (anagura-replay.wasm) and is read from the file system here: node's own
// fetch cannot load a path. The fonts are those the browser build ships in the
// web folder it lies in (data/fonts beside it), whatever data folder it plays.
Module['wasmBinary'] = require('fs').readFileSync(require('path').join(__dirname, 'anagura-replay.wasm'));
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  ENV['ANAGURA_FONTS'] = require('path').join(__dirname, 'data', 'fonts');
});
