import flash.display.Bitmap;
import flash.display.BitmapData;
import flash.display.DisplayObject;
import flash.display.Shape;
import flash.events.Event;

// A game's busy stage, drawn as games draw: vector shapes (mostly filled, some
// outlined, some turning) and a few bitmaps, all moving at every frame. The
// crowd is as dense on every stage, so a big stage is a heavy one: a thousand
// shapes on 2500 x 1400.
class Crowd {
    static function main() {
        var stage = flash.Lib.current.stage;
        var width = stage.stageWidth, height = stage.stageHeight;
        var shapes = Std.int(width * height / 3500);
        var bitmaps = 1 + Std.int(shapes / 200);
        var things:Array<DisplayObject> = [];
        var speeds:Array<Float> = [];
        var random = new Random(7);
        for (i in 0...shapes) {
            var shape = new Shape();
            var g = shape.graphics;
            if (i % 4 == 0)
                g.lineStyle(2, random.colour());
            g.beginFill(random.colour(), i % 5 == 0 ? 0.7 : 1);
            var size = 10 + random.next() % 30;
            switch (i % 3) {
                case 0:
                    g.drawCircle(0, 0, size);
                case 1:
                    g.drawRoundRect(-size, -size / 2, size * 2, size, 8, 8);
                default:
                    g.moveTo(0, -size);
                    g.curveTo(size, 0, 0, size);
                    g.lineTo(-size, 0);
                    g.lineTo(0, -size);
            }
            g.endFill();
            things.push(shape);
        }
        for (i in 0...bitmaps) {
            var data = new BitmapData(128, 128, false, 0);
            data.noise(i + 1, 0, 255, 7, false);
            things.push(new Bitmap(data));
        }
        for (thing in things) {
            thing.x = random.next() % width;
            thing.y = random.next() % height;
            speeds.push(1 + random.next() % 6);
            flash.Lib.current.addChild(thing);
        }
        flash.Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
            for (i in 0...things.length) {
                var thing = things[i];
                thing.x = (thing.x + speeds[i]) % width;
                thing.y = (thing.y + speeds[i] / 2) % height;
                if (i % 3 == 2)
                    thing.rotation += speeds[i];
            }
        });
    }
}

// The same crowd in the same places at every run.
class Random {
    var state:Int;

    public function new(seed:Int) {
        state = seed;
    }

    public function next():Int {
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF;
        return state >> 8;
    }

    public function colour():Int {
        return next() & 0xFFFFFF;
    }
}
