// The page's sound on the browser's audio thread: plays the game's samples as
// the page hands them over (interleaved stereo, already scaled to -1..1), in
// order, none dropped: when none are left it plays silence until more come.
// Every eighth block it tells the page how many frames it has played, which is
// when the page hands over more.
class AnaguraSound extends AudioWorkletProcessor {
  constructor() {
    super();
    this.chunks = [];
    this.at = 0;  // frames of chunks[0] played
    this.played = 0;
    this.blocks = 0;
    this.port.onmessage = (event) => this.chunks.push(event.data);
  }

  process(inputs, outputs) {
    const left = outputs[0][0], right = outputs[0][1];
    let i = 0;
    while (i < left.length && this.chunks.length) {
      const chunk = this.chunks[0];
      const n = Math.min(left.length - i, chunk.length / 2 - this.at);
      for (let k = 0; k < n; ++k) {
        left[i + k] = chunk[2 * (this.at + k)];
        right[i + k] = chunk[2 * (this.at + k) + 1];
      }
      i += n;
      this.at += n;
      if (this.at * 2 === chunk.length) {
        this.chunks.shift();
        this.at = 0;
      }
    }
    this.played += i;
    if (++this.blocks % 8 === 0 || i < left.length) this.port.postMessage(this.played);
    return true;
  }
}

registerProcessor('anagura-sound', AnaguraSound);
