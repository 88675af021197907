import flash.display.Loader;
import flash.events.IOErrorEvent;
import flash.net.URLRequest;

// Red until the movie beside it, child.swf, is loaded and shown over it.
class MovieLoader {
    static function main() {
        Signal.show(Signal.Red);
        var loader = new Loader();
        loader.contentLoaderInfo.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Yellow));
        loader.load(new URLRequest("child.swf"));
        flash.Lib.current.addChild(loader);
    }
}
