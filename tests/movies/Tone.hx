import flash.media.Sound;

// A tone of 440 Hz, embedded as a game embeds its sounds.
@:sound("tone.wav") class ToneSound extends Sound {}

// Plays the tone at once and for good, and shows green.
class Tone {
    static function main() {
        new ToneSound().play(0, 1000000);
        Signal.show(Signal.Green);
    }
}
