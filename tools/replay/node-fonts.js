// The replay tool built for node finds the fonts the browser build ships in the
// web folder it lies in (data/fonts beside it), whatever data folder it plays.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  ENV['ANAGURA_FONTS'] = require('path').join(__dirname, 'data', 'fonts');
});
