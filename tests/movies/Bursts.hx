import flash.events.TimerEvent;
import flash.utils.Timer;

// A game that works hard in bursts, as a game that builds its levels does:
// 400 ms of script at a time, then 600 ms of rest. Yellow while it plays.
class Bursts {
    static function main() {
        Signal.show(Signal.Yellow);
        burst();
    }

    static function burst() {
        var end = flash.Lib.getTimer() + 400;
        var i = 0;
        while (flash.Lib.getTimer() < end)
            i++;
        var rest = new Timer(600, 1);
        rest.addEventListener(TimerEvent.TIMER, function(_) burst());
        rest.start();
    }
}
