// The movie that MovieLoader loads: all green.
class Child {
    static function main() {
        Signal.show(Signal.Green);
    }
}
