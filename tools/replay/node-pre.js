// Run first by the replay tool built for node. Its WebAssembly lies beside it,
// in the web folder compressed (anagura-replay.wasm.br: node's own zlib reads
// brotli), in the build folder as it is, and is read from the file system here:
// node's own fetch cannot load a path. The fonts are those the browser build
// ships in the web folder it lies in (data/fonts beside it), whatever data
// folder it plays.
(function() {
  var fs = require('fs'), path = require('path'), zlib = require('zlib');
  var wasm = path.join(__dirname, 'anagura-replay.wasm');
  Module['wasmBinary'] = fs.existsSync(wasm) ? fs.readFileSync(wasm)
                                             : zlib.brotliDecompressSync(fs.readFileSync(wasm + '.br'));
})();
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  ENV['ANAGURA_FONTS'] = require('path').join(__dirname, 'data', 'fonts');
});
