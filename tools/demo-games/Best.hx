import flash.net.SharedObject;

// A game's best score, kept in its saves from one play to the next.
class Best {
    var so:SharedObject;

    public var value(default, null):Int;

    public function new(lowerIsBetter = false) {
        this.lowerIsBetter = lowerIsBetter;
        so = SharedObject.getLocal("best");
        value = so != null && so.data.value != null ? so.data.value : 0;
    }

    // Keeps score when it beats the best; true if it did.
    public function offer(score:Int):Bool {
        var better = value == 0 || (lowerIsBetter ? score < value : score > value);
        if (!better || score == 0)
            return false;
        value = score;
        if (so != null) {
            so.data.value = score;
            try {
                so.flush();
            } catch (error:Dynamic) {}
        }
        return true;
    }

    var lowerIsBetter:Bool;
}
