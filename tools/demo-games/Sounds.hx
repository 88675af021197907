import flash.media.Sound;

// The games' sounds, embedded as games embed theirs; the build makes them.
@:sound("beep.wav") class Beep extends Sound {}
@:sound("thud.wav") class Thud extends Sound {}
@:sound("chime.wav") class Chime extends Sound {}

class Sounds {
    static var beep = new Beep();
    static var thud = new Thud();
    static var chime = new Chime();

    public static function good() beep.play();
    public static function bad() thud.play();
    public static function win() chime.play();
}
