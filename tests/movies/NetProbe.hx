import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.SecurityErrorEvent;
import flash.events.TimerEvent;
import flash.net.Socket;
import flash.net.URLLoader;
import flash.net.URLRequest;
import flash.net.URLRequestMethod;
import flash.net.XMLSocket;
import flash.utils.Timer;

// A game that tries to reach the network, the way its file is named: "get",
// "post" (with a file of its folder), "loader" (a movie), "https", "name"
// (a host by name), "socket", "xmlsocket" or "sound", at the port that
// port.txt beside it names. Red: it got through; green: refused; yellow: no
// answer after ten seconds (a time-out, not a refusal). How soon it was
// refused, the test reads off the screen.
class NetProbe {
    static var done = false;

    static function answer(colour:Int) {
        if (!done) {
            done = true;
            Signal.show(colour);
        }
    }

    static function main() {
        Signal.show(Signal.Grey);
        var ports = new URLLoader();
        ports.addEventListener(Event.COMPLETE, function(_) attack(StringTools.trim(ports.data)));
        ports.addEventListener(IOErrorEvent.IO_ERROR, function(_) Signal.show(Signal.Blue));
        ports.load(new URLRequest("port.txt"));
    }

    static function attack(port:String) {
        var url = flash.Lib.current.loaderInfo.url;
        var kind = url.substring(url.lastIndexOf("/") + 1, url.lastIndexOf("."));
        var server = "http://127.0.0.1:" + port + "/" + kind;
        var refused = function(_) answer(Signal.Green);
        var through = function(_) answer(Signal.Red);
        var timer = new Timer(10000, 1);
        timer.addEventListener(TimerEvent.TIMER, function(_) answer(Signal.Yellow));
        timer.start();
        try {
            switch (kind) {
                case "socket" | "xmlsocket":
                    var socket:flash.events.EventDispatcher = kind == "socket" ? new Socket() : new XMLSocket();
                    socket.addEventListener(Event.CONNECT, through);
                    socket.addEventListener(IOErrorEvent.IO_ERROR, refused);
                    socket.addEventListener(SecurityErrorEvent.SECURITY_ERROR, refused);
                    if (kind == "socket")
                        cast(socket, Socket).connect("127.0.0.1", Std.parseInt(port));
                    else
                        cast(socket, XMLSocket).connect("127.0.0.1", Std.parseInt(port));
                case "loader":
                    var loader = new flash.display.Loader();
                    loader.contentLoaderInfo.addEventListener(Event.COMPLETE, through);
                    loader.contentLoaderInfo.addEventListener(IOErrorEvent.IO_ERROR, refused);
                    loader.contentLoaderInfo.addEventListener(SecurityErrorEvent.SECURITY_ERROR, refused);
                    loader.load(new URLRequest(server + ".swf"));
                case "sound":
                    var sound = new flash.media.Sound();
                    sound.addEventListener(Event.COMPLETE, through);
                    sound.addEventListener(IOErrorEvent.IO_ERROR, refused);
                    sound.load(new URLRequest(server + ".mp3"));
                default:
                    var request = new URLRequest(switch (kind) {
                        case "https": "https://127.0.0.1:" + port + "/https";
                        case "name": "http://pelliwick.example.org:" + port + "/name";
                        default: server;
                    });
                    if (kind == "post") {
                        request.method = URLRequestMethod.POST;
                        request.data = "stolen=secret";
                    }
                    var loader = new URLLoader();
                    loader.addEventListener(Event.COMPLETE, through);
                    loader.addEventListener(IOErrorEvent.IO_ERROR, refused);
                    loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, refused);
                    loader.load(request);
            }
        } catch (error:Dynamic) {
            refused(null);
        }
    }
}
