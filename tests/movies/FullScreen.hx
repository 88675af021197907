import flash.display.StageDisplayState;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.events.TimerEvent;
import flash.utils.Timer;

// A game that asks for full screen as games did: once by itself as it
// starts, then at each click, at once, or two seconds after the click when
// its file's name holds "late"; one whose name holds "loop" asks at every
// frame as well, and one whose name holds "hang" stops answering a moment
// after it went full screen. The key F asks too; any other key leaves full
// screen, but for one whose name holds "stay", which stays. It fills its
// stage with what it sees: in full screen green, or for one that stays blue
// after a click there and yellow after a key other than F, each time afresh;
// in the window
// grey before any click, blue after a click (its request came to nothing or
// was left), yellow after a key other than F. A white square marks the
// stage's lower right corner.
class FullScreen {
    static var normal = Signal.Grey;
    static var full = Signal.Green;
    static var framesFull = 0;

    static function ask() {
        try {
            flash.Lib.current.stage.displayState = StageDisplayState.FULL_SCREEN;
        } catch (error:Dynamic) {}
    }

    static function main() {
        var stage = flash.Lib.current.stage;
        var url = flash.Lib.current.loaderInfo.url;
        var name = url.substring(url.lastIndexOf("/") + 1);
        var late = name.indexOf("late") >= 0;
        var loop = name.indexOf("loop") >= 0;
        var hang = name.indexOf("hang") >= 0;
        var stay = name.indexOf("stay") >= 0;
        ask();
        stage.addEventListener(MouseEvent.CLICK, function(_) {
            if (stay && stage.displayState != StageDisplayState.NORMAL) {
                full = Signal.Blue;
                return;
            }
            if (!late) {
                ask();
                normal = Signal.Blue;
                return;
            }
            var timer = new Timer(2000, 1);
            timer.addEventListener(TimerEvent.TIMER, function(_) {
                ask();
                // A request let through shows as full screen at once.
                if (stage.displayState == StageDisplayState.NORMAL)
                    normal = Signal.Blue;
            });
            timer.start();
        });
        stage.addEventListener(KeyboardEvent.KEY_DOWN, function(event:KeyboardEvent) {
            if (event.keyCode == 70) {
                ask();
                return;
            }
            if (stay && stage.displayState != StageDisplayState.NORMAL) {
                full = Signal.Yellow;
                return;
            }
            stage.displayState = StageDisplayState.NORMAL;
            normal = Signal.Yellow;
        });
        stage.addEventListener(Event.ENTER_FRAME, function(_) {
            var isFull = stage.displayState != StageDisplayState.NORMAL;
            if (!isFull)
                full = Signal.Green;
            if (loop && !isFull)
                ask();
            Signal.show(isFull ? full : normal);
            var g = flash.Lib.current.graphics;
            g.beginFill(0xFFFFFF);
            g.drawRect(stage.stageWidth - 40, stage.stageHeight - 40, 40, 40);
            g.endFill();
            var i = 0;
            if (hang && isFull && ++framesFull > 10)
                while (true)
                    i++;
        });
    }
}
