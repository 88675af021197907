// Draws nothing at all: what shows is the stage colour of its header.
class StageOnly {
    static function main() {}
}
