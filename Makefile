# The two commands: `make run` builds Pelliwick and starts it, `make test`
# builds it and runs every test. Both install what is missing first; each
# builds only what it needs.
BUILD := build
CONFIGURE = cmake -S . -B $(BUILD) -G Ninja

.PHONY: run test build bench bench-debian artwork package try-package try-fresh

build:
	tools/setup.sh run
	$(CONFIGURE) -DBUILD_TESTING=OFF -DPELLIWICK_BENCHMARKS=OFF
	cmake --build $(BUILD)

run: build
	tools/make-demo-library.sh $(BUILD) $(BUILD)/tools/demo-games
	cd $(BUILD) && ./pelliwick

test:
	tools/setup.sh test
	$(CONFIGURE) -DBUILD_TESTING=ON
	cmake --build $(BUILD)
	cd $(BUILD) && ctest --output-on-failure

bench:
	tools/setup.sh bench
	$(CONFIGURE) -DPELLIWICK_BENCHMARKS=ON
	cmake --build $(BUILD)
	$(BUILD)/bench/ListingBenchmark
	bench/player-bench.sh $(BUILD)
	bench/frame-bench.sh $(BUILD)
	bench/hostile-bench.sh $(BUILD)
	bench/memory-bench.sh $(BUILD)

# Draws the pictures in resources/ anew; commit them after a look.
artwork:
	tools/setup.sh artwork
	$(CONFIGURE) -DPELLIWICK_ARTWORK=ON
	cmake --build $(BUILD) --target artwork

# The Debian package, build/pelliwick_<version>_amd64.deb.
package: build
	tools/setup.sh package
	cd $(BUILD) && cpack

# The package installed on a clean Debian of the release it was made for and
# started by a new user (root, a few minutes, fetches packages; not part of
# make test).
try-package: package
	tools/setup.sh test
	$(CONFIGURE) -DBUILD_TESTING=ON
	cmake --build $(BUILD) --target pelliwick-swf
	tools/try-package-on-clean-debian.sh $(BUILD)/pelliwick_*_amd64.deb $(BUILD)/tools/swfwriter/pelliwick-swf

# The README's two commands as a newcomer runs them, on a clean Debian
# holding only make and sudo, of the release RELEASE names (12 or 13; 12 when
# unset: `RELEASE=13 make try-fresh`; root, some minutes; not part of make test).
try-fresh:
	tools/try-fresh-debian.sh

# make bench in a clean Debian of the release RELEASE names, on this machine's
# X server (root; `RELEASE=13 make bench-debian`).
bench-debian:
	tools/bench-debian.sh
