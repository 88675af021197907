# The two commands: `make run` builds Pelliwick and starts it, `make test`
# builds it and runs every test. Both install what is missing first.
BUILD := build

.PHONY: run test build setup bench package try-package

setup:
	tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD)

run: build
	tools/make-demo-library.sh $(BUILD) $(BUILD)/tools/swfwriter/pelliwick-swf
	cd $(BUILD) && ./pelliwick

test: build
	cd $(BUILD) && ctest --output-on-failure

# The Debian package, build/pelliwick_<version>_amd64.deb.
package: build
	cd $(BUILD) && cpack

# The package installed on a clean Debian 12 and started by a new user (root,
# a few minutes, fetches packages; not part of make test).
try-package: package
	tools/try-package-on-clean-debian.sh $(BUILD)/pelliwick_*_amd64.deb $(BUILD)/tools/swfwriter/pelliwick-swf

bench: build
	$(BUILD)/tests/benchmarks/ListingBenchmark
	tests/benchmarks/player-bench.sh $(BUILD)
