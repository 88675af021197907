import flash.display.BitmapData;
import flash.events.Event;
import flash.events.MouseEvent;
import flash.geom.Rectangle;

// A heavy game that settles: it holds as many megabytes of bitmaps as its
// file's name says ("heavy 2500.swf"; 2500 without a number), as a large
// game holds its decoded pictures, every pixel written so that the memory
// is really taken, 32 MB at every frame; then it shows green for as long as
// it plays, and blue once clicked, still holding them. Grey while it grows.
class Heavy {
    static var kept:Array<BitmapData> = [];

    static function main() {
        Signal.show(Signal.Grey);
        var url = flash.Lib.current.loaderInfo.url;
        var name = StringTools.urlDecode(url.substr(url.lastIndexOf("/") + 1));
        var digits = ~/([0-9]+)[^0-9]*$/;
        var megabytes = digits.match(name) ? Std.parseInt(digits.matched(1)) : 2500;
        // 4096 x 2048 pixels of 4 bytes: within a bitmap's most pixels.
        var bitmaps = Math.ceil(megabytes / 32);
        var stage = flash.Lib.current.stage;
        var colour = Signal.Green;
        stage.addEventListener(Event.ENTER_FRAME, function(_) {
            if (kept.length < bitmaps) {
                var bitmap = new BitmapData(4096, 2048, false, 0x000000);
                bitmap.fillRect(new Rectangle(0, 0, 4096, 2048), 0x102030 + kept.length);
                kept.push(bitmap);
            } else
                Signal.show(colour);
        });
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) {
            if (kept.length == bitmaps)
                colour = Signal.Blue;
        });
    }
}
