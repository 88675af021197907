import flash.net.SharedObject;

// Writes a thousand saves of a kilobyte each. Green: the player kept a good
// many and then refused the rest; red: it took every one.
class ManySaves {
    static function main() {
        var kilobyte = StringTools.lpad("", "x", 1024);
        var kept = 0;
        for (i in 0...1000) {
            var so = SharedObject.getLocal("save" + i);
            so.data.text = kilobyte;
            try {
                if (so.flush() == "flushed")
                    kept++;
            } catch (error:Dynamic) {}
        }
        Signal.show(kept == 1000 ? Signal.Red : kept >= 200 ? Signal.Green : Signal.Yellow);
    }
}
