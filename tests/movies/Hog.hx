import flash.events.Event;
import flash.utils.ByteArray;

// A game that eats memory and never lets it go, each page of it written so
// that it is really taken. Grey while it grows. By its file's name:
//   (any other) 16 MB more at every frame, as fast as frames come.
//   bloat:      stops at 640 MB and shows yellow: a game that ends bigger
//               than any other, but within what the machine carries.
//   paced:      100 MB more every second by the clock, in steps of 4 MB,
//               however fast frames come.
//   jump:       1536 MB in one step a second after it started, then yellow.
class Hog {
    static var kept:Array<ByteArray> = [];

    static function main() {
        Signal.show(Signal.Grey);
        var url = flash.Lib.current.loaderInfo.url;
        var name = url.substr(url.lastIndexOf("/") + 1);
        var most = name.indexOf("bloat") >= 0 ? 40 : -1;
        var paced = name.indexOf("paced") >= 0;
        var step = paced ? 4 << 20 : 16 << 20;
        var jump = name.indexOf("jump") >= 0;
        if (jump) {
            step = 1536 << 20;
            most = 1;
        }
        var started = flash.Lib.getTimer();
        flash.Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
            if (kept.length == most) {
                Signal.show(Signal.Yellow);
                return;
            }
            if (jump && flash.Lib.getTimer() - started < 1000)
                return;
            var due = paced ? Std.int((flash.Lib.getTimer() - started) / 1000 * 25) : kept.length + 1;
            while (kept.length < due)
                kept.push(taken(step));
        });
    }

    static function taken(size:Int):ByteArray {
        var bytes = new ByteArray();
        bytes.length = size;
        var i = 0;
        while (i < size) {
            bytes[i] = 1;
            i += 4096;
        }
        return bytes;
    }
}
