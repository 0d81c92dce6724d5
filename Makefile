# Entry points for people and CI. Each target first makes sure the Debian
# packages it needs are installed (installing them when run as root).
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 60
# make fuzz FUZZ_TARGETS=xml_parse_fuzz runs only the targets named.
FUZZ_TARGETS ?=
# A warm heap for measurements: freed memory stays with the process.
BENCH_ENV = GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432

BUILD_PACKAGES = cmake g++ make libgtest-dev nlohmann-json3-dev pkg-config libxml2-dev \
  python3-pytest
BENCH_PACKAGES = libbenchmark-dev libpugixml-dev
FUZZ_PACKAGES = clang libclang-rt-dev
MUTATE_PACKAGES = python3
# The Windows cross-build: MinGW-w64 (POSIX threads), Wine to run the tests,
# GoogleTest's sources to build it for the target, binutils for objdump.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix wine wine64 googletest binutils
# make mutate FILE=druvo/util/KUTIL.cpp [MUTANTS=60] [SEED=1]
MUTANTS ?= 60
SEED ?= 1

.PHONY: all build test demo sanitize bench fuzz mutate mutate-all install package-check windows windows-test format clean

all: test

build: .deps-build
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build build -j $(JOBS)

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# Builds the druvo program and converts the sample invoices in examples/:
# their EDI files go to build/demo, one of them is shown, then the list of all.
demo: build
	build/tools/druvo/druvo ksef2edi --force -o build/demo examples
	@echo "== examples/FA_3_Przyklad_1.xml as EDI text (build/demo/FA_3_Przyklad_1.edi, shown in UTF-8):"
	@build/tools/druvo/druvo ksef2edi --utf8 -o - examples/FA_3_Przyklad_1.xml | tr -d '\r'
	@echo "== build/tools/druvo/druvo ksef-list examples"
	@build/tools/druvo/druvo ksef-list examples

sanitize: .deps-build
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDRUVO_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

bench: .deps-bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDRUVO_BUILD_BENCH=ON -DDRUVO_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	@set -e; for b in build-bench/bench/*_bench; do echo "== $$b"; $(BENCH_ENV) $$b; done

fuzz: .deps-fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DDRUVO_BUILD_FUZZ=ON -DDRUVO_BUILD_TESTS=OFF -DDRUVO_BUILD_TOOLS=OFF
	cmake --build build-fuzz -j $(JOBS)
	fuzz/run-fuzzers build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Mutants of one source, each rebuilt (build-mutate, Debug) and tested; the
# survivors are printed as diffs, then the kill rate.
mutate: .deps-mutate
	@test -n "$(FILE)" || { echo "usage: make mutate FILE=<source> [MUTANTS=60] [SEED=1]" >&2; exit 2; }
	python3 tools/mutate/mutate.py $(FILE) --mutants $(MUTANTS) --seed $(SEED) --jobs $(JOBS)

# The pass over every source (or FILES=...), verdicts kept in
# build-mutate/record.jsonl; kill rates per unit at the end. Hours on 2 cores.
mutate-all: .deps-mutate
	SEED=$(SEED) tools/mutate/mutate-all build-mutate/record.jsonl $(FILES)

install: build
	cmake --install build --prefix $(PREFIX)

# Builds the consumer in tests/package both ways: over the source tree, and
# with find_package after an install into a temporary prefix, and with the
# flags pkg-config gives.
package-check: .deps-build
	@set -e; tmp=$$(mktemp -d); trap 'rm -rf "$$tmp"' EXIT; \
	cmake -S tests/package -B "$$tmp/sub" -DDRUVO_SOURCE_DIR=$(CURDIR); \
	cmake --build "$$tmp/sub" -j $(JOBS); "$$tmp/sub/consumer"; \
	cmake -S . -B "$$tmp/lib" -DCMAKE_BUILD_TYPE=Release -DDRUVO_BUILD_TESTS=OFF -DDRUVO_BUILD_TOOLS=OFF; \
	cmake --build "$$tmp/lib" -j $(JOBS); \
	cmake --install "$$tmp/lib" --prefix "$$tmp/prefix"; \
	cmake -S tests/package -B "$$tmp/found" -DCMAKE_PREFIX_PATH="$$tmp/prefix"; \
	cmake --build "$$tmp/found" -j $(JOBS); "$$tmp/found/consumer"; \
	pc=$$(find "$$tmp/prefix" -name druvo.pc); \
	flags=$$(PKG_CONFIG_PATH=$$(dirname "$$pc") pkg-config --cflags --libs druvo); \
	$(CXX) tests/package/consumer.cpp $$flags -o "$$tmp/pc-consumer"; \
	LD_LIBRARY_PATH=$$(dirname "$$(dirname "$$pc")") "$$tmp/pc-consumer"; \
	echo "package consumer built both ways"

# druvo.dll (with its import library libdruvo.dll.a), druvo.exe and the test
# programs for 64-bit Windows, all in build-windows/bin with the MinGW
# runtime DLLs; windows-test runs the CTest set under Wine, in a Wine prefix
# inside build-windows. The Linux library (build/) is built too: a test
# compares the DLL's exports with its.
windows: build .deps-windows
	cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DDRUVO_REFERENCE_LIBRARY=$(CURDIR)/build/libdruvo.so
	WINEPREFIX=$(CURDIR)/build-windows/wineprefix cmake/wine-run --init
	cmake --build build-windows -j $(JOBS)

windows-test: windows
	ctest --test-dir build-windows --output-on-failure -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf build build-asan build-bench build-fuzz build-mutate build-windows

.deps-%:
	@./cmake/ensure-packages $(BUILD_PACKAGES) $(if $(filter bench,$*),$(BENCH_PACKAGES)) \
	  $(if $(filter fuzz,$*),$(FUZZ_PACKAGES)) $(if $(filter mutate mutate-all,$*),$(MUTATE_PACKAGES)) \
	  $(if $(filter windows,$*),$(WINDOWS_PACKAGES))
