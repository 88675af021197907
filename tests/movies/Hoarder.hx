import flash.events.Event;
import flash.net.SharedObject;
import flash.utils.ByteArray;

// A game that hoards saves, in the way its file's name begins with, and
// shows what flush() answered. A refused save must not be answered
// "flushed"; the engine may also refuse a name outright (no shared object).
//   deep:    a name 8 folders deep is kept; 9 deep and 1000 deep are not.
//   folders: names of a folder each ("k1/s", "k2/s", ...) until refused.
//   names:   names no file may hold, and local paths not the game's own,
//            all refused; a plain name beside them kept.
//   shared:  saves of a megabyte shared with every game ("/") until refused;
//            a small save of its own still kept after that.
//   rewrite: four saves of a megabyte rewritten at every frame for three
//            seconds (grey meanwhile), then marked "done" once more.
//   churn:   the same with four saves of a hundred bytes, whose frames come
//            quickly.
// Green: as it should be; red: a save past the bounds was answered
// "flushed"; yellow: a save within them was refused.
class Hoarder {
    static function main() {
        var url = flash.Lib.current.loaderInfo.url;
        var mode = url.substr(url.lastIndexOf("/") + 1).split(".")[0];
        switch (mode) {
            case "deep":
                var eight = kept("a/b/c/d/e/f/g/h/s", null, 16);
                var nine = kept("a/b/c/d/e/f/g/h/i/s", null, 16);
                var thousand = kept(StringTools.rpad("", "d/", 2000) + "s", null, 16);
                Signal.show(nine || thousand ? Signal.Red : eight ? Signal.Green : Signal.Yellow);
            case "folders":
                var tries = 0;
                while (tries < 2000 && kept("k" + tries + "/s", null, 1024))
                    tries++;
                Signal.show(tries == 2000 ? Signal.Red : tries > 0 ? Signal.Green : Signal.Yellow);
            case "names":
                var nul = String.fromCharCode(0);
                var bad = [
                    kept(StringTools.rpad("", "x", 300), null, 16),
                    kept("a/", null, 16),
                    kept("a//b", null, 16),
                    kept("a" + nul + "b", null, 16),
                    kept("a" + String.fromCharCode(1) + "b", null, 16),
                    kept("a\\b", null, 16),
                    kept("up", "/..", 16),
                    kept("up", url.substr(7, url.lastIndexOf("/") - 7) + "/%2e%2e", 16),
                    kept("beside", url.substr(7, url.lastIndexOf("/") - 7) + "/other.swf", 16),
                ];
                var good = kept("good", null, 16);
                Signal.show(bad.indexOf(true) >= 0 ? Signal.Red : good ? Signal.Green : Signal.Yellow);
            case "shared":
                var tries = 0;
                while (tries < 100 && kept("big" + tries, "/", 1000000))
                    tries++;
                var own = kept("own", null, 16);
                Signal.show(tries == 100 ? Signal.Red : own && tries > 0 ? Signal.Green : Signal.Yellow);
            case "rewrite":
                rewrite(1000000);
            case "churn":
                rewrite(100);
        }
    }

    // Whether a save of that many bytes was answered "flushed".
    static function kept(name:String, localPath:String, bytes:Int):Bool {
        var so = SharedObject.getLocal(name, localPath);
        if (so == null)
            return false;
        so.data.bytes = filled(bytes);
        try {
            return so.flush() == "flushed";
        } catch (error:Dynamic) {
            return false;
        }
    }

    static function filled(bytes:Int):ByteArray {
        var array = new ByteArray();
        array.length = bytes;
        return array;
    }

    static function rewrite(bytes:Int) {
        var saves = [for (i in 0...4) SharedObject.getLocal("frame" + i)];
        var filling = filled(bytes);
        var start = flash.Lib.getTimer();
        var frames = 0;
        var refused = false;
        var write = function(mark:String) {
            for (so in saves) {
                so.data.mark = mark;
                so.data.bytes = filling;
                try {
                    refused = refused || so.flush() != "flushed";
                } catch (error:Dynamic) {
                    refused = true;
                }
            }
        };
        Signal.show(Signal.Grey);
        var stage = flash.Lib.current.stage;
        var onFrame:Event->Void = null;
        onFrame = function(_:Event) {
            if (flash.Lib.getTimer() - start < 3000) {
                write("frame " + frames++);
                return;
            }
            stage.removeEventListener(Event.ENTER_FRAME, onFrame);
            write("done");
            Signal.show(refused ? Signal.Yellow : Signal.Green);
        };
        stage.addEventListener(Event.ENTER_FRAME, onFrame);
    }
}
