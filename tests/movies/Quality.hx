import flash.events.Event;

// Shows at every frame the quality the player draws it at, as a game sees it
// in its stage: yellow for low, blue for medium, green for high, red for any
// other.
class Quality {
    static function main() {
        var stage = flash.Lib.current.stage;
        stage.addEventListener(Event.ENTER_FRAME, function(_) {
            var quality = Std.string(stage.quality).toLowerCase();
            Signal.show(switch (quality) {
                case "low": Signal.Yellow;
                case "medium": Signal.Blue;
                case "high": Signal.Green;
                default: Signal.Red;
            });
        });
    }
}
