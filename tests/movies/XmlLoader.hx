import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.net.URLLoader;
import flash.net.URLRequest;

// Loads the levels of its game from levels.xml beside it. Green: three
// levels were read; yellow: the file was not what it should be; red: none.
class XmlLoader {
    static function main() {
        Signal.show(Signal.Grey);
        var loader = new URLLoader();
        loader.addEventListener(Event.COMPLETE, function(_) {
            var levels = 0;
            try {
                for (_ in Xml.parse(loader.data).firstElement().elementsNamed("level"))
                    levels++;
            } catch (error:Dynamic) {}
            Signal.show(levels == 3 ? Signal.Green : Signal.Yellow);
        });
        loader.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Red));
        loader.load(new URLRequest("levels.xml"));
    }
}
