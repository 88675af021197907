import flash.display.Sprite;
import flash.events.MouseEvent;

// A button from 100,100 to 200,150 of a 400 x 300 stage, and the stage
// behind it in the colour of what the mouse did last: grey, nothing;
// yellow, over the button; blue, pressed on it; green, pressed and released
// on it (a click); red, pressed beside it.
class PressButton {
    static function main() {
        var button = new Sprite();
        button.graphics.beginFill(0x202020);
        button.graphics.drawRect(100, 100, 100, 50);
        button.graphics.endFill();
        flash.Lib.current.addChild(button);
        Signal.show(Signal.Grey);
        button.addEventListener(MouseEvent.MOUSE_OVER, function(_) Signal.show(Signal.Yellow));
        button.addEventListener(MouseEvent.MOUSE_OUT, function(_) Signal.show(Signal.Grey));
        button.addEventListener(MouseEvent.MOUSE_DOWN, function(_) Signal.show(Signal.Blue));
        button.addEventListener(MouseEvent.CLICK, function(_) Signal.show(Signal.Green));
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(event:MouseEvent) {
            if (event.target != button)
                Signal.show(Signal.Red);
        });
    }
}
