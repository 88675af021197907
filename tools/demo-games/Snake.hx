import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.ui.Keyboard;

// Snake, with the arrow keys: eat the red apples, keep off the walls and your
// own tail. The snake waits for the first arrow; after a crash, an arrow
// starts again.
class Snake {
    static inline var Cell = 20;
    static inline var Columns = 16;
    static inline var Rows = 11;
    static inline var Top = 20;

    var body:Array<Array<Int>>;
    var dx = 1;
    var dy = 0;
    var turn:Array<Int> = null;
    var apple:Array<Int>;
    var score = 0;
    var frames = 0;
    var over = false;
    var waiting = true;
    var best = new Best();

    static function main() {
        new Snake();
    }

    function new() {
        var stage = flash.Lib.current.stage;
        stage.addEventListener(KeyboardEvent.KEY_DOWN, key);
        stage.addEventListener(Event.ENTER_FRAME, function(_) tick());
        restart();
    }

    function restart() {
        body = [[5, 5], [4, 5], [3, 5]];
        dx = 1;
        dy = 0;
        score = 0;
        over = false;
        waiting = true;
        placeApple();
        draw();
    }

    function key(event:KeyboardEvent) {
        var wanted = switch (event.keyCode) {
            case Keyboard.LEFT: [-1, 0];
            case Keyboard.RIGHT: [1, 0];
            case Keyboard.UP: [0, -1];
            case Keyboard.DOWN: [0, 1];
            default: null;
        }
        if (wanted == null)
            return;
        if (over)
            restart();
        else if (wanted[0] != -dx || wanted[1] != -dy)
            turn = wanted;
        waiting = false;
    }

    function placeApple() {
        do
            apple = [Std.random(Columns), Std.random(Rows)]
        while (occupied(apple[0], apple[1]));
    }

    function occupied(x:Int, y:Int):Bool {
        for (part in body)
            if (part[0] == x && part[1] == y)
                return true;
        return false;
    }

    function tick() {
        // Faster as the snake grows.
        if (over || waiting || ++frames % Std.int(Math.max(2, 7 - score / 4)) != 0)
            return;
        if (turn != null) {
            dx = turn[0];
            dy = turn[1];
            turn = null;
        }
        var x = body[0][0] + dx;
        var y = body[0][1] + dy;
        if (x < 0 || y < 0 || x >= Columns || y >= Rows || occupied(x, y)) {
            over = true;
            best.offer(score);
            Sounds.bad();
        } else {
            body.unshift([x, y]);
            if (x == apple[0] && y == apple[1]) {
                score++;
                Sounds.good();
                placeApple();
            } else {
                body.pop();
            }
        }
        draw();
    }

    function draw() {
        var g = flash.Lib.current.graphics;
        g.clear();
        g.beginFill(0x14281E);
        g.drawRect(0, 0, Columns * Cell, Top + Rows * Cell);
        g.endFill();
        g.beginFill(0x1E3C2D);
        g.drawRect(0, Top, Columns * Cell, Rows * Cell);
        g.endFill();
        g.beginFill(0xDC3232);
        g.drawCircle(apple[0] * Cell + Cell / 2, Top + apple[1] * Cell + Cell / 2, Cell / 2 - 2);
        g.endFill();
        g.beginFill(over ? 0x808080 : 0x8CDC50);
        for (part in body)
            g.drawRect(part[0] * Cell + 1, Top + part[1] * Cell + 1, Cell - 2, Cell - 2);
        g.endFill();
        Digits.draw(g, score, 60, 4, 12, 0xF0F0F0);
        Digits.draw(g, best.value, Columns * Cell - 4, 4, 12, 0xF0C828);
    }
}
