import flash.events.KeyboardEvent;

// Grey until a key goes down; then green for the key A, yellow for another.
class KeyColour {
    static function main() {
        Signal.show(Signal.Grey);
        flash.Lib.current.stage.addEventListener(KeyboardEvent.KEY_DOWN, function(event:KeyboardEvent) {
            Signal.show(event.keyCode == 65 ? Signal.Green : Signal.Yellow);
        });
    }
}
