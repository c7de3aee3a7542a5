# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
ROOT := $(CURDIR)
WINE := $(ROOT)/scripts/with-wine
EXE32 := build/win32/Morvane.exe
EXE64 := build/win64/Morvane64.exe

.PHONY: all setup native win32 win64 wine-tests wine-tests64 test test-native test-versions test-versions-short faults faults-ui \
	test-wine32 test-wine64 imports-audit run screenshot shoot-tool bench soak clean

all: win32 win64

setup:
	@$(ROOT)/scripts/setup

# One rule per tree: configure once, then build.
native win32 win64 wine-tests wine-tests64: setup
	@$(ROOT)/scripts/build-trees $@

wine-tests: win32
wine-tests64: win64

test-native: native
	@$(ROOT)/scripts/run-tier native "native"

test-wine64: wine-tests64
	@$(ROOT)/scripts/run-tier wine-tests64 "64-bit Wine tier"

test-wine32: wine-tests
	@$(ROOT)/scripts/run-tier wine-tests "32-bit Wine tier"

# Every tier this machine runs, each tree built while another tier's tests
# wait on windows (see scripts/test-all).
test: setup
	@$(ROOT)/scripts/test-all

# The 9x and XP rows of test-versions, which make test runs where 32-bit code runs.
test-versions-short: wine-tests
	@$(ROOT)/scripts/test-versions 32:win98 32:winxp >build/logs/versions-run.log 2>&1; \
		status=$$?; tail -3 build/logs/versions-run.log; \
		sed 's/^/Windows version /' build/logs/versions >>build/logs/summary; exit $$status

# Every platform call failing in turn, and a power cut after each, over every
# user action on the simulated machine; one table row per action.
faults: native
	@build/native/fault_sweep --all
	@build/native/long_run 24

# The toolkit's own objects (windows, fonts, pens, brushes, bitmaps, device
# contexts, icons, menus, image lists) refused under every user action, in
# the real program under Wine, per architecture this machine runs; one table
# row per action. SWEEP_ARGS=--verbose lists every violation.
faults-ui: setup
	@for t in wine-tests64 $$($(ROOT)/scripts/win32-probe >/dev/null && echo wine-tests); do \
		[ -f build/$$t/build.ninja ] || cmake --preset $$t >/dev/null; \
		cmake --build --preset $$t --target morvane_seam ui_sweep morvane_helper >/dev/null || exit 1; \
		echo "== $$t"; \
		MORVANE_EXE=$(ROOT)/build/$$t/tests/wine-tree/morvane_seam.exe \
			MORVANE_HELPER=$(ROOT)/build/$$t/tests/wine-tree/morvane_helper.exe \
			$(WINE) build/$$t/tests/wine-tree/ui_sweep.exe $(SWEEP_ARGS) || exit 1; \
	done

# Every Windows version Wine can report to the program: the 32-bit product
# under 95, 98, Me, NT 4.0, 2000 and XP (where this machine runs 32-bit
# code), the 64-bit one under XP x64 and Windows 10; a table of the rows.
test-versions: setup
	@$(MAKE) --no-print-directory wine-tests64
	@if $(ROOT)/scripts/win32-probe >/dev/null; then $(MAKE) --no-print-directory wine-tests; fi
	@$(ROOT)/scripts/test-versions

# The audit first proves it refuses a program Windows 95/NT 4 cannot load.
imports-audit: win32
	@mkdir -p build/audit build/logs
	@i686-w64-mingw32-gcc-win32 -static -Wl,--major-subsystem-version,6 \
		tests/audit/too_new.c -o build/audit/too_new.exe
	@tests/audit/refuses.sh scripts/check-imports build/audit/too_new.exe tests/imports.allow >build/logs/audit.log \
		|| { cat build/logs/audit.log; exit 1; }
	@$(ROOT)/scripts/check-imports $(EXE32) tests/imports.allow >build/logs/audit-product.log; \
		status=$$?; cat build/logs/audit-product.log >>build/logs/audit.log; \
		if [ $$status -ne 0 ]; then cat build/logs/audit-product.log; exit $$status; fi; \
		tail -1 build/logs/audit-product.log
	@echo "import audit: refuses a too-new program; $(EXE32) $$(tail -1 build/logs/audit.log | sed 's/^ *//')" >>build/logs/summary

# The product this machine runs: the 32-bit one where it can, else the 64-bit
# one; evaluated after set-up, which may or may not have installed wine32.
product = $(shell if $(ROOT)/scripts/win32-probe >/dev/null; then echo 32; else echo 64; fi)
why32 = $(shell $(ROOT)/scripts/win32-probe)
# "32-bit", or "64-bit" with the reason the 32-bit product is not the one.
bits = $*-bit$(if $(filter 64,$*),$(if $(why32),: $(why32)))

# Starts the program: on $DISPLAY when there is one, else on a private Xvfb
# with the pages captured into build/shots and build/screenshot.png.
run: setup
	@$(MAKE) --no-print-directory run-$(product)

run-32 run-64: run-%: | setup
	@$(MAKE) --no-print-directory $(if $(filter 32,$*),win32,win64)
	@exe=$(if $(filter 32,$*),$(EXE32),$(EXE64)); \
	echo "running $$exe ($(bits))"; \
	if [ -n "$$DISPLAY" ]; then $(WINE) $$exe; \
	else $(MAKE) --no-print-directory shoot-tool-$* && \
		MORVANE_SHOTS=$(ROOT)/build/shots $(ROOT)/scripts/screenshot --wait $$exe; fi

# The page selector scripts/screenshot needs, without building every Wine test.
shoot-tool-32 shoot-tool-64: shoot-tool-%: | setup
	@t=$(if $(filter 32,$*),wine-tests,wine-tests64); \
	[ -f build/$$t/build.ninja ] || cmake --preset $$t >/dev/null; \
	cmake --build --preset $$t --target e2e_shoot

screenshot: setup
	@$(MAKE) --no-print-directory screenshot-$(product)

screenshot-32 screenshot-64: screenshot-%: | setup
	@$(MAKE) --no-print-directory $(if $(filter 32,$*),win32,win64) shoot-tool-$*
	@exe=$(if $(filter 32,$*),$(EXE32),$(EXE64)); \
	echo "screenshots of $$exe ($(bits))"; \
	$(ROOT)/scripts/screenshot $$exe

bench: native win32 wine-tests64
	@if $(ROOT)/scripts/win32-probe >/dev/null; then $(MAKE) --no-print-directory wine-tests; fi
	@$(ROOT)/scripts/bench

# The product under Wine for SOAK_MINUTES (default 10) per architecture, the
# loop clear on while helpers come and go; figures printed. Not in make test.
soak: wine-tests64
	@if $(ROOT)/scripts/win32-probe >/dev/null; then $(MAKE) --no-print-directory wine-tests; fi
	@$(ROOT)/scripts/soak

clean:
	rm -rf build/native build/win32 build/win64 build/wine-tests build/wine-tests64 build/logs build/audit
