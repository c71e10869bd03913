# The two set-up commands of the README, and their parts.
#   make play   build and play the bundled demo game
#   make test   build the three configurations and run every test: the whole suite under the
#               sanitizers; the scenario folders, the demo and the window tests in the optimised
#               build; each fuzz target briefly
JOBS ?= 2
RELEASE := build/release
ASAN := build/asan
FUZZ := build/fuzz

.PHONY: play test configure build build-release build-asan unit-tests player-tests asan-tests sdl-tests fuzz-tests check clean

configure:
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=ON

build: configure
	ninja -C $(RELEASE) -j$(JOBS)

build-asan:
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_WERROR=ON \
	  -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	ninja -C $(ASAN) -j$(JOBS)

# Only the program and the demo game: the first picture should not wait for the tests.
play: configure
	ninja -C $(RELEASE) -j$(JOBS) orvane demo
	$(RELEASE)/orvane $(RELEASE)/demo

check:
	tools/check-sources.sh

unit-tests: build
	cd $(RELEASE) && ctest --output-on-failure -j$(JOBS)

asan-tests: build-asan
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

# The whole suite runs in the sanitizer build. The optimised program players build is checked on
# what a player sees (the scenario folders, the demo) and on the real window; the benchmarks are
# built so that they keep compiling.
build-release: configure
	ninja -C $(RELEASE) -j$(JOBS) orvane demo test_scenarios test_demo test_sdl benchmarks

player-tests: build-release
	cd $(RELEASE) && ctest --output-on-failure -j$(JOBS) -R '^All/Scenario\.|^Demo\.'

# The real SDL window under a virtual X display.
sdl-tests: build-release
	xvfb-run -a -s "-screen 0 1024x768x24" timeout -k 5 120 $(RELEASE)/tests/test_sdl

fuzz-tests:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF
	ninja -C $(FUZZ) -j$(JOBS) fuzzers
	tools/run-fuzzers.sh $(FUZZ) 8 scenario=20

test: check player-tests sdl-tests asan-tests fuzz-tests

clean:
	rm -rf build
