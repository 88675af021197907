import flash.display.Sprite;

// What every test movie shares: it tells what happened by the colour it
// fills its whole stage with, so a test reads the answer off the screen.
class Signal {
    public static inline var Red = 0xC81E1E; // what the test must not see
    public static inline var Green = 0x28A046; // what the test hopes to see
    public static inline var Blue = 0x2850C8;
    public static inline var Yellow = 0xF0C828;
    public static inline var Grey = 0x808080;

    public static function show(colour:Int) {
        var stage = flash.Lib.current.stage;
        var g = flash.Lib.current.graphics;
        g.clear();
        g.beginFill(colour);
        g.drawRect(0, 0, stage.stageWidth, stage.stageHeight);
        g.endFill();
    }
}
