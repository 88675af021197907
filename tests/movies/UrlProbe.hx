// Green when the movie sees the address it was played from as the program
// gave it: "file://" and the absolute path, blanks unencoded. Red for no
// address at all, yellow for any other.
class UrlProbe {
    static function main() {
        var url = flash.Lib.current.loaderInfo.url;
        if (url == null || url == "")
            Signal.show(Signal.Red);
        else if (StringTools.startsWith(url, "file:///") && StringTools.endsWith(url, "/url probe.swf"))
            Signal.show(Signal.Green);
        else
            Signal.show(Signal.Yellow);
    }
}
