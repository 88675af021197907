import flash.net.SharedObject;

// Counts the runs of every game that shares its save: the one it asks for
// with the local path "/", which any local game may open. Blue: no game
// wrote it before; green: another did; yellow: the player refused to keep
// the count.
class SharedCounter {
    static function main() {
        var so = SharedObject.getLocal("shared", "/");
        if (so == null) {
            Signal.show(Signal.Red);
            return;
        }
        var runs:Int = so.data.runs == null ? 0 : so.data.runs;
        so.data.runs = runs + 1;
        try {
            if (so.flush() != "flushed") {
                Signal.show(Signal.Yellow);
                return;
            }
        } catch (error:Dynamic) {
            Signal.show(Signal.Yellow);
            return;
        }
        Signal.show(runs == 0 ? Signal.Blue : Signal.Green);
    }
}
