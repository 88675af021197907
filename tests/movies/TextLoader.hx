import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.net.URLLoader;
import flash.net.URLRequest;

// Loads the text file beside it by a name in other letters than it has on
// disk ("DATA.TXT" for data.txt), as games made on Windows do. Green: it
// read "pelliwick"; yellow: something else; red: nothing.
class TextLoader {
    static function main() {
        Signal.show(Signal.Grey);
        var loader = new URLLoader();
        loader.addEventListener(Event.COMPLETE, function(_) {
            Signal.show(StringTools.trim(loader.data) == "pelliwick" ? Signal.Green : Signal.Yellow);
        });
        loader.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Red));
        loader.load(new URLRequest("DATA.TXT"));
    }
}
