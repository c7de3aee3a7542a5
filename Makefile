# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
ROOT := $(CURDIR)
WINE := $(ROOT)/scripts/with-wine
EXE := build/win32/Morvane.exe

.PHONY: all setup native win32 wine-tests test test-native test-wine run screenshot shoot-tool bench clean

all: win32

setup:
	@$(ROOT)/scripts/setup

native: setup
	@[ -f build/native/build.ninja ] || cmake --preset native >/dev/null
	cmake --build --preset native

win32: setup
	@[ -f build/win32/build.ninja ] || cmake --preset win32 >/dev/null
	cmake --build --preset win32

wine-tests: setup win32
	@[ -f build/wine-tests/build.ninja ] || cmake --preset wine-tests >/dev/null
	cmake --build --preset wine-tests

test-native: native
	ctest --preset native

test-wine: wine-tests
	ctest --preset wine-tests

test: test-native test-wine
	@$(MAKE) --no-print-directory imports-audit
	@echo "all tests passed"

imports-audit: win32
	@$(ROOT)/scripts/check-imports $(EXE) tests/imports.allow

# Starts the program: on $DISPLAY when there is one, else on a private Xvfb
# with the pages captured into build/shots and build/screenshot.png.
run: win32
	@if [ -n "$$DISPLAY" ]; then $(WINE) $(EXE); \
	else $(MAKE) --no-print-directory shoot-tool && MORVANE_SHOTS=$(ROOT)/build/shots $(ROOT)/scripts/screenshot --wait $(EXE); fi

# The page selector scripts/screenshot needs, without building every Wine test.
shoot-tool: setup
	@[ -f build/wine-tests/build.ninja ] || cmake --preset wine-tests >/dev/null
	cmake --build --preset wine-tests --target e2e_shoot

screenshot: win32 shoot-tool
	@$(ROOT)/scripts/screenshot $(EXE)

bench: native wine-tests
	@$(ROOT)/scripts/bench

clean:
	rm -rf build/native build/win32 build/wine-tests
