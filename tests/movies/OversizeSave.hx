import flash.net.SharedObject;
import flash.utils.ByteArray;

// Asks for a save of 100 MB, which must be refused, then a small one, which
// must still be kept. Green: so it went; red: the huge save was taken;
// yellow: the small one was refused too.
class OversizeSave {
    static function main() {
        var huge = new ByteArray();
        huge.length = 100 * 1024 * 1024;
        var big = SharedObject.getLocal("huge");
        big.data.bytes = huge;
        var refused = false;
        try {
            refused = big.flush() != "flushed";
        } catch (error:Dynamic) {
            refused = true;
        }
        big.clear();
        var small = SharedObject.getLocal("small");
        small.data.kept = true;
        var kept = false;
        try {
            kept = small.flush() == "flushed";
        } catch (error:Dynamic) {}
        Signal.show(!refused ? Signal.Red : kept ? Signal.Green : Signal.Yellow);
    }
}
