# Zentavo - the two commands a newcomer needs, and the steps behind them.
#   make run    install what is missing, build quorvel.exe and run it under Wine on the bundled
#               sample: in a window on your display, or, without a display, as a screenshot
#               saved in the build folder
#   make test   install what is missing, build both builds and run every test
#   make bench  install the benchmark tools, build both builds with the benchmarks and print
#               every performance comparison with its goal (not part of make test)
BUILD ?= build
NATIVE := $(BUILD)/native
WIN32 := $(BUILD)/win32
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SAMPLE ?= samples/town-news.new
SCREENSHOT := $(BUILD)/quorvel-screenshot.png
CONFIGURE_WIN32 = cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DZENTAVO_HELPGEN=$(abspath $(NATIVE))/help/zentavo-helpgen

.PHONY: all deps native win32 test test-native test-win32 run bench format clean

all: native win32

deps:
	@scripts/install-deps

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# The native build comes first: its zentavo-helpgen writes QUORVEL.HLP beside the programs.
win32: native
	@$(CONFIGURE_WIN32) >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

test: test-native test-win32

test-native: native
	cd $(NATIVE) && ctest --output-on-failure --timeout 300

# The Windows tests share one Wine prefix and one virtual display.
test-win32: win32
	@scripts/wine-run --init
	cd $(WIN32) && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure --timeout 600

# The window program on the sample, started in the folder that holds it and QUORVEL.HLP, so
# that its help command finds the help file there. Without a display it runs under Xvfb and
# leaves a screenshot instead.
run: win32
	@if [ -n "$$DISPLAY" ]; then cd $(WIN32)/bin && $(CURDIR)/scripts/wine-run quorvel.exe $(abspath $(SAMPLE)); \
	else cd $(WIN32)/bin && $(CURDIR)/scripts/screenshot $(abspath $(SCREENSHOT)) quorvel.exe $(abspath $(SAMPLE)); fi

# Both sides of every comparison run in one go on a private virtual display; see
# docs/PERFORMANCE.md for the goals and the figures.
bench: deps
	@scripts/install-deps --bench
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTAVO_BENCH=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)
	@$(CONFIGURE_WIN32) -DZENTAVO_BENCH=ON >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)
	xvfb-run -a -s "-screen 0 1024x768x24" node bench/compare.js --build $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
