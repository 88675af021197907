import flash.net.SharedObject;

// Writes six hundred saves of a kilobyte each, more than a game may keep.
// Green: the player kept a good many and then refused the rest; red: it took
// every one.
class ManySaves {
    static function main() {
        var kilobyte = StringTools.lpad("", "x", 1024);
        var kept = 0;
        for (i in 0...600) {
            var so = SharedObject.getLocal("save" + i);
            so.data.text = kilobyte;
            try {
                if (so.flush() == "flushed")
                    kept++;
            } catch (error:Dynamic) {}
        }
        Signal.show(kept == 600 ? Signal.Red : kept >= 200 ? Signal.Green : Signal.Yellow);
    }
}
