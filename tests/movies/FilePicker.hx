import flash.events.Event;
import flash.events.MouseEvent;
import flash.net.FileReference;

// A game that asks for the user's files: at once, without any click, it
// asks to browse for a file and to save one; a click then asks again, to
// browse or, when the game's file is named "save...", to save "saved by a
// game" as picked.txt. Grey: waiting; yellow: a click asked; green: a file
// was picked or saved; blue: the user cancelled; red: an unasked request came
// to something, or an asked one failed.
class FilePicker {
    static function main() {
        Signal.show(Signal.Grey);
        var unasked = new FileReference();
        unasked.addEventListener(Event.SELECT, function(_) Signal.show(Signal.Red));
        var unaskedSave = new FileReference();
        unaskedSave.addEventListener(Event.SELECT, function(_) Signal.show(Signal.Red));
        unaskedSave.addEventListener(Event.COMPLETE, function(_) Signal.show(Signal.Red));
        try {
            unasked.browse();
            unaskedSave.save("saved unasked", "unasked.txt");
        } catch (error:Dynamic) {}
        var url = flash.Lib.current.loaderInfo.url;
        var saves = url.substring(url.lastIndexOf("/") + 1).indexOf("save") == 0;
        var file = new FileReference();
        file.addEventListener(saves ? Event.COMPLETE : Event.SELECT, function(_) Signal.show(Signal.Green));
        file.addEventListener(Event.CANCEL, function(_) Signal.show(Signal.Blue));
        flash.Lib.current.stage.addEventListener(MouseEvent.CLICK, function(_) {
            Signal.show(Signal.Yellow);
            try {
                if (saves)
                    file.save("saved by a game", "picked.txt");
                else
                    file.browse();
            } catch (error:Dynamic) {
                Signal.show(Signal.Red);
            }
        });
    }
}
