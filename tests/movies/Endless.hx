import flash.events.TimerEvent;
import flash.utils.Timer;

// A game that hangs: grey for a moment, then a script that never ends (the
// player's script limit aside).
class Endless {
    static function main() {
        Signal.show(Signal.Grey);
        var timer = new Timer(300, 1);
        timer.addEventListener(TimerEvent.TIMER, function(_) {
            var i = 0;
            while (true)
                i++;
        });
        timer.start();
    }
}
