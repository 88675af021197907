import flash.events.Event;
import flash.utils.ByteArray;

// A game that eats memory and never lets it go: 16 MB more at every frame,
// each page of it written so that it is really taken. Grey while it grows.
// Named "bloat", it stops at 640 MB and shows yellow: a game that ends
// bigger than any other, but within the player's limit.
class Hog {
    static var kept:Array<ByteArray> = [];

    static function main() {
        Signal.show(Signal.Grey);
        var url = flash.Lib.current.loaderInfo.url;
        var most = url.indexOf("bloat") >= 0 ? 40 : -1;
        flash.Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
            if (kept.length == most) {
                Signal.show(Signal.Yellow);
                return;
            }
            var bytes = new ByteArray();
            bytes.length = 16 << 20;
            var i = 0;
            while (i < 16 << 20) {
                bytes[i] = 1;
                i += 4096;
            }
            kept.push(bytes);
        });
    }
}
