import flash.events.Event;
import flash.events.MouseEvent;

// Balloon Pop, with the mouse: pop the balloons before they fly away. Three
// that get away end the game; a click starts again.
class Balloons {
    static inline var Width = 320;
    static inline var Height = 240;
    static var Colours = [0xDC3232, 0x3C78DC, 0xF0C828, 0x50C850, 0xC850C8];

    var balloons:Array<{x:Float, y:Float, speed:Float, colour:Int}> = [];
    var score = 0;
    var escaped = 0;
    var frames = 0;
    var over = false;
    var best = new Best();

    static function main() {
        new Balloons();
    }

    function new() {
        var stage = flash.Lib.current.stage;
        stage.addEventListener(MouseEvent.MOUSE_DOWN, press);
        stage.addEventListener(Event.ENTER_FRAME, function(_) tick());
        draw();
    }

    function press(event:MouseEvent) {
        if (over) {
            balloons = [];
            score = 0;
            escaped = 0;
            over = false;
            return;
        }
        for (b in balloons) {
            var dx = event.stageX - b.x;
            var dy = event.stageY - b.y;
            if (dx * dx + dy * dy <= 18 * 18) {
                balloons.remove(b);
                score++;
                Sounds.good();
                return;
            }
        }
    }

    function tick() {
        if (!over) {
            // More of them, and faster, as the score grows.
            if (++frames % Std.int(Math.max(12, 45 - score)) == 0)
                balloons.push({
                    x: 20 + Std.random(Width - 40),
                    y: Height + 20,
                    speed: 1 + Math.random() + score / 20,
                    colour: Colours[Std.random(Colours.length)]
                });
            for (b in balloons.copy()) {
                b.y -= b.speed;
                if (b.y < -20) {
                    balloons.remove(b);
                    if (++escaped == 3) {
                        over = true;
                        best.offer(score);
                        Sounds.bad();
                    }
                }
            }
        }
        draw();
    }

    function draw() {
        var g = flash.Lib.current.graphics;
        g.clear();
        g.beginFill(0x8CC8F0);
        g.drawRect(0, 0, Width, Height);
        g.endFill();
        for (b in balloons) {
            g.lineStyle(1, 0x404040);
            g.moveTo(b.x, b.y + 18);
            g.lineTo(b.x, b.y + 34);
            g.lineStyle();
            g.beginFill(over ? 0x909090 : b.colour);
            g.drawEllipse(b.x - 15, b.y - 18, 30, 36);
            g.endFill();
        }
        for (i in 0...3) {
            g.beginFill(i < escaped ? 0xDC3232 : 0xFFFFFF);
            g.drawCircle(Width / 2 - 16 + i * 16, 12, 5);
            g.endFill();
        }
        Digits.draw(g, score, 60, 4, 14, 0x202040);
        Digits.draw(g, best.value, Width - 4, 4, 14, 0xC85000);
    }
}
