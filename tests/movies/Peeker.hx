import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.SecurityErrorEvent;
import flash.net.URLLoader;
import flash.net.URLRequest;

// A game that tries to read what is not its own through the player's own
// address: the one that peek.txt beside it names. Yellow: refused; red: it
// read something; blue: it found no peek.txt.
class Peeker {
    static function main() {
        Signal.show(Signal.Grey);
        var address = new URLLoader();
        address.addEventListener(Event.COMPLETE, function(_) peek(StringTools.trim(address.data)));
        address.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Blue));
        address.load(new URLRequest("peek.txt"));
    }

    static function peek(url:String) {
        var loader = new URLLoader();
        loader.addEventListener(Event.COMPLETE, function(_) {
            Signal.show(loader.data != null && loader.data.length > 0 ? Signal.Red : Signal.Yellow);
        });
        loader.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Yellow));
        loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, function(_) Signal.show(Signal.Yellow));
        try {
            loader.load(new URLRequest(url));
        } catch (error:Dynamic) {
            Signal.show(Signal.Yellow);
        }
    }
}
