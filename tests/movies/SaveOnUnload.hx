import flash.net.SharedObject;

// Leaves a mark in its save without flushing it: the player must write it
// when the game is let go. Blue: no mark yet (one is left now); green: the
// mark of an earlier run was kept.
class SaveOnUnload {
    static function main() {
        var so = SharedObject.getLocal("later");
        if (so == null) {
            Signal.show(Signal.Red);
            return;
        }
        var seen = so.data.seen == true;
        so.data.seen = true;
        Signal.show(seen ? Signal.Green : Signal.Blue);
    }
}
