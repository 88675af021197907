import flash.display.Graphics;

// Numbers drawn as the segments of a pocket game's display, so that they look
// the same in every player, with no font to find.
class Digits {
    // Which of the seven segments (top, upper right, lower right, bottom,
    // lower left, upper left, middle) each digit lights.
    static var Lit = [0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F];

    // Draws value with its right edge at x, digits height tall.
    public static function draw(g:Graphics, value:Int, x:Float, y:Float, height:Float, colour:Int) {
        var text = Std.string(value);
        var width = height / 2;
        var thick = height / 8;
        var step = width + thick * 1.5;
        g.beginFill(colour);
        for (i in 0...text.length) {
            var segments = Lit[text.charCodeAt(text.length - 1 - i) - 48];
            var left = x - (i + 1) * step;
            var half = height / 2;
            var bars = [
                [left, y, width, thick], [left + width - thick, y, thick, half],
                [left + width - thick, y + half, thick, half], [left, y + height - thick, width, thick],
                [left, y + half, thick, half], [left, y, thick, half],
                [left, y + half - thick / 2, width, thick]];
            for (s in 0...7)
                if (segments & (1 << s) != 0)
                    g.drawRect(bars[s][0], bars[s][1], bars[s][2], bars[s][3]);
        }
        g.endFill();
    }
}
