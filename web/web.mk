# web.mk - the rules behind make web (included by the Makefile): the core compiled to
# WebAssembly with the page's host, and the page's folder of static files, $(WEB).
#
# The core's sources are compiled from copies whose non-ASCII literals are spelled as code
# page 932 escapes (web/cp932-literals.js), since the WebAssembly compiler cannot convert
# literals as GCC does; the copies and objects live in $(WEB_OBJ).
WEB := $(BUILD)/web
WEB_OBJ := $(BUILD)/web-obj
WEB_CORE_DIRS := core template compose transcript
WEB_CORE_SOURCES := $(wildcard $(WEB_CORE_DIRS:%=%/*.cpp))
WEB_CORE_COPIES := $(patsubst %,$(WEB_OBJ)/src/%,$(WEB_CORE_SOURCES) $(wildcard $(WEB_CORE_DIRS:%=%/*.h)))
WEB_OBJECTS := $(WEB_CORE_SOURCES:%.cpp=$(WEB_OBJ)/%.o) $(WEB_OBJ)/web/web_host.o
# Debian's compiler runs its optimizer step with the machine's own node, which finds the
# parser it needs only under /usr/share/nodejs.
EMXX := NODE_PATH=/usr/share/nodejs em++
WEB_CXXFLAGS := -std=c++17 -O2 -Wall -Wextra -Werror -fno-exceptions -MMD -MP \
  -I$(WEB_OBJ)/src -I$(NATIVE)/generated
WEB_LDFLAGS := -O2 -sMODULARIZE=1 -sEXPORT_NAME=createZentavoCore -sENVIRONMENT=web \
  -sALLOW_MEMORY_GROWTH=1 -sEXPORTED_RUNTIME_METHODS=FS,ccall
WEB_PAGE := index.html zentavo.js zentavo.css
WEB_FILES := $(WEB_PAGE:%=$(WEB)/%) $(WEB)/zentavo-core.js $(WEB)/toolbar.bmp $(WEB)/quorvel.ico \
  $(WEB)/QUORVEL.html $(WEB)/samples/town-news.new $(WEB)/samples/sports.vnt

.PHONY: web-files
web-files: $(WEB_FILES)

$(WEB_OBJ)/src/%: % web/cp932-literals.js
	@mkdir -p $(@D)
	@node web/cp932-literals.js $< $@

$(WEB_OBJ)/%.o: $(WEB_OBJ)/src/%.cpp | $(WEB_CORE_COPIES)
	@mkdir -p $(@D)
	$(EMXX) $(WEB_CXXFLAGS) -c $< -o $@

$(WEB_OBJ)/web/web_host.o: web/web_host.cpp | $(WEB_CORE_COPIES)
	@mkdir -p $(@D)
	$(EMXX) $(WEB_CXXFLAGS) -c $< -o $@

# The compiler writes zentavo-core.wasm beside the script that loads it.
$(WEB)/zentavo-core.js: $(WEB_OBJECTS)
	@mkdir -p $(@D)
	$(EMXX) $(WEB_LDFLAGS) $^ -o $@

$(WEB)/%: web/%
	@mkdir -p $(@D) && cp $< $@
$(WEB)/%: res/%
	@mkdir -p $(@D) && cp $< $@
$(WEB)/samples/%: samples/%
	@mkdir -p $(@D) && cp $< $@
$(WEB)/QUORVEL.html: $(NATIVE)/help/QUORVEL.html
	@mkdir -p $(@D) && cp $< $@

-include $(WEB_OBJECTS:%.o=%.d)
