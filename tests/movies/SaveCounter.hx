import flash.net.SharedObject;

// Counts its own runs in a shared object flushed at once. Red: the player
// gave it no shared object; blue: the first run; green: a run before it was
// remembered; yellow: the player refused to keep the count.
class SaveCounter {
    static function main() {
        var so = SharedObject.getLocal("progress");
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
