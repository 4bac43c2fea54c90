# Zentavo - the two commands a newcomer needs, and the steps behind them.
#   make run    install what is missing, build quorvel.exe and run it under Wine on the bundled
#               sample: in a window on your display, or, without a display, as a screenshot
#               saved in the build folder
#   make test   install what is missing, build every build and run every test
# and beside them:
#   make screenshots   pictures of the window program on the sample, one per scene, saved as
#                      PNG files in the build folder (under a virtual display when there is none)
#   make fuzz          run every fuzz target for FUZZ_SECONDS seconds (default 60)
#   make reliability   the slow measurements: huge inputs, 10,000 loads, valgrind
#   make install       zentavo-cli and its manual page into PREFIX (default /usr/local), under
#                      DESTDIR when one is given
# and, for performance work (docs/PERFORMANCE.md):
#   make bench         install the benchmark tools, build both builds with the benchmarks and
#                      print every performance comparison with its goal (not part of make test)
BUILD ?= build
NATIVE := $(BUILD)/native
WIN32 := $(BUILD)/win32
ASAN := $(BUILD)/asan
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SAMPLE ?= samples/town-news.new
SCREENSHOT := $(BUILD)/quorvel-screenshot.png
SCREENSHOTS := $(BUILD)/screenshots
# The scenes of tools/scene.cpp: after start-up, after a show, narrow, scrolled down, recording,
# the about box.
SCENES := startup show narrow scrolled recording about
CONFIGURE_WIN32 = cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DZENTAVO_HELPGEN=$(abspath $(NATIVE))/help/zentavo-helpgen

.PHONY: all deps native win32 asan fuzz-build test test-native test-win32 test-asan test-fuzz fuzz reliability \
	install run screenshots bench format clean

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

# The native tests and zentavo-cli with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DZENTAVO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

# The core and the libFuzzer targets, built with clang.
fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTAVO_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

test: test-native test-asan test-fuzz test-win32

test-native: native
	cd $(NATIVE) && ctest --output-on-failure --timeout 300

# AddressSanitizer's reports (leaks included) go to files, so a report from any process,
# a zentavo-cli started by a test included, fails the run even when the test did not
# notice. GCC's UndefinedBehaviorSanitizer ignores log_path next to AddressSanitizer, so
# it aborts the process instead, which every test that starts one checks for.
SANITIZER_LOG = $(abspath $(ASAN))/sanitizer-reports
test-asan: asan
	@rm -rf $(SANITIZER_LOG) && mkdir -p $(SANITIZER_LOG)
	@cd $(ASAN) && ASAN_OPTIONS=log_path=$(SANITIZER_LOG)/asan:detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:abort_on_error=1 ctest --output-on-failure; \
	status=$$?; \
	if [ -n "$$(ls -A $(SANITIZER_LOG))" ]; then cat $(SANITIZER_LOG)/*; echo "test-asan: sanitizer reports" >&2; status=1; fi; \
	exit $$status

# Replays every fuzz corpus once through the libFuzzer binaries.
test-fuzz: fuzz-build
	cd $(FUZZ) && ctest --output-on-failure

fuzz: fuzz-build
	@scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

reliability: native
	@scripts/reliability $(NATIVE)

install: native
	DESTDIR="$(DESTDIR)" cmake --install $(NATIVE) --prefix "$(PREFIX)"

# The Windows tests share one Wine prefix and one virtual display; Wine ends before the display.
test-win32: win32
	@scripts/wine-run --init
	cd $(WIN32) && xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
	  'ctest --output-on-failure --timeout 600; status=$$?; $(CURDIR)/scripts/wine-run --wait; exit $$status'

# The window program on the sample, started in the folder that holds it and QUORVEL.HLP, so
# that its help command finds the help file there. Without a display it runs under Xvfb and
# leaves a screenshot of its first news instead.
run: win32
	@if [ -n "$$DISPLAY" ]; then cd $(WIN32)/bin && $(CURDIR)/scripts/wine-run quorvel.exe $(abspath $(SAMPLE)); \
	else cd $(WIN32)/bin && $(CURDIR)/scripts/screenshot --scene show $(abspath $(SCREENSHOT)) quorvel.exe \
	  $(abspath $(SAMPLE)); fi

# One run of the window program per scene, each on a virtual display of its own when there is no
# display.
screenshots: win32
	@cd $(WIN32)/bin && for scene in $(SCENES); do \
	  $(CURDIR)/scripts/screenshot --scene $$scene $(abspath $(SCREENSHOTS))/quorvel-$$scene.png quorvel.exe \
	    $(abspath $(SAMPLE)) || exit 1; done

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
