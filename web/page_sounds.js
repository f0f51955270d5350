// The player's sounds: a clip from its memory or a file of the disc, one at a time, played
// with Web Audio. The player waits for a sound's end by asking whether one is busy.
import { discUrl } from "./page_fetch.js";

// The host's calls for sounds.
export function soundCalls() {
    let audio = null;
    let soundDeadline = 0;
    let soundSource = null;

    function playBuffer(bytes) {
        try {
            if (!audio) audio = new AudioContext();
            if (soundSource) soundSource.stop();
            soundSource = null;
            // Until the clip is decoded the wait is bounded, in case the browser refuses.
            soundDeadline = performance.now() + 2000;
            audio.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length))
                .then((buffer) => {
                    const source = audio.createBufferSource();
                    source.buffer = buffer;
                    source.connect(audio.destination);
                    source.onended = () => { if (soundSource === source) soundDeadline = 0; };
                    source.start();
                    soundSource = source;
                    soundDeadline = performance.now() + buffer.duration * 1000 + 50;
                }, () => { soundDeadline = 0; });
        } catch (error) {
            soundDeadline = 0;
        }
    }

    return {
        soundClip(bytes) { playBuffer(bytes); },
        soundFile(path) {
            // Not on the disc: Windows would sound its default, which a page does not have.
            if (!path) { soundDeadline = 0; return; }
            soundDeadline = performance.now() + 2000;
            fetch(discUrl(path)).then((r) => (r.ok ? r.arrayBuffer() : Promise.reject()))
                .then((buffer) => playBuffer(new Uint8Array(buffer)), () => { soundDeadline = 0; });
        },
        soundBusy() { return performance.now() < soundDeadline ? 1 : 0; },
    };
}
