# Zentavo - the two commands a newcomer needs, and the steps behind them.
#   make run    install what is missing, build quorvel.exe and run it under Wine on the bundled
#               sample: in a window on your display, or, without a display, as a screenshot
#               saved in the build folder
#   make test   install what is missing, build both builds and run every test
#   make screenshots
#               pictures of the window program on the sample, one per scene, saved as PNG files
#               in the build folder (under a virtual display when there is no display)
BUILD ?= build
NATIVE := $(BUILD)/native
WIN32 := $(BUILD)/win32
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

.PHONY: all deps native win32 test test-native test-win32 run screenshots format clean

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
