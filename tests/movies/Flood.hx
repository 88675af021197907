import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.net.URLLoader;
import flash.net.URLRequest;

// Floods the player with requests, 200 at every frame: 10,000 for files of
// its folder that do not exist, then 2,000 for files of a large folder
// outside it. Grey while it floods.
class Flood {
    static var sent = 0;

    static function main() {
        Signal.show(Signal.Grey);
        flash.Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
            for (i in 0...200) {
                if (sent == 12000)
                    return;
                var loader = new URLLoader();
                loader.addEventListener(IOErrorEvent.IO_ERROR, function(_) {});
                loader.load(new URLRequest(sent < 10000 ? "missing-" + sent + ".txt"
                                                        : "file:///usr/share/doc/missing-" + sent));
                sent++;
            }
        });
    }
}
