import flash.events.MouseEvent;

// Lights Out, with the mouse: a click turns a light and its four neighbours
// over; put every light out in as few moves as you can. The fewest moves
// stay as the best; a click after a win deals the next board.
class LightsOut {
    static inline var Size = 5;
    static inline var Cell = 44;
    static inline var Left = 50;
    static inline var Top = 16;
    // Boards that can be solved, each given by the presses that make it.
    static var Boards = [[6, 8, 12, 16, 18], [0, 4, 12, 20, 24], [2, 7, 11, 13, 17, 22], [1, 3, 5, 9, 15, 19, 21, 23]];

    var lights:Array<Bool>;
    var moves = 0;
    var board = 0;
    var solved = false;
    var best = new Best(true);

    static function main() {
        new LightsOut();
    }

    function new() {
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, press);
        deal();
    }

    function deal() {
        lights = [for (_ in 0...Size * Size) false];
        for (p in Boards[board % Boards.length])
            flip(p % Size, Std.int(p / Size));
        moves = 0;
        solved = false;
        draw();
    }

    function flip(x:Int, y:Int) {
        for (d in [[0, 0], [1, 0], [-1, 0], [0, 1], [0, -1]]) {
            var cx = x + d[0];
            var cy = y + d[1];
            if (cx >= 0 && cy >= 0 && cx < Size && cy < Size)
                lights[cy * Size + cx] = !lights[cy * Size + cx];
        }
    }

    function press(event:MouseEvent) {
        if (solved) {
            board++;
            deal();
            return;
        }
        var x = Math.floor((event.stageX - Left) / Cell);
        var y = Math.floor((event.stageY - Top) / Cell);
        if (x < 0 || y < 0 || x >= Size || y >= Size)
            return;
        flip(x, y);
        moves++;
        if (lights.indexOf(true) < 0) {
            solved = true;
            best.offer(moves);
            Sounds.win();
        } else {
            Sounds.good();
        }
        draw();
    }

    function draw() {
        var g = flash.Lib.current.graphics;
        g.clear();
        g.beginFill(0x282832);
        g.drawRect(0, 0, 320, 240);
        g.endFill();
        for (y in 0...Size)
            for (x in 0...Size) {
                g.beginFill(lights[y * Size + x] ? 0xF0D250 : (solved ? 0x3C8C50 : 0x46465A));
                g.drawRoundRect(Left + x * Cell + 3, Top + y * Cell + 3, Cell - 6, Cell - 6, 10);
                g.endFill();
            }
        Digits.draw(g, moves, 44, 16, 14, 0xF0F0F0);
        Digits.draw(g, best.value, 316, 16, 14, 0xF0C828);
    }
}
