# The two everyday commands: `make run` and `make test`. Both install what is
# missing, configure and build first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 30
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test test-asan fuzz bench clean format format-check

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/ledgerly --program-folder $(BUILD)/bin --hotsync-home $(BUILD)/demo-hotsync

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLEDGERLY_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEDGERLY_FUZZ=ON \
	  -DLEDGERLY_BUILD_TESTS=OFF -DLEDGERLY_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$$//')
	@set -e; for f in fuzz/fuzz_*.cpp; do \
	  name=$$(basename $$f .cpp); corpus=fuzz/corpus/$${name#fuzz_}; \
	  work=$(FUZZ_BUILD)/corpus-$${name#fuzz_}; mkdir -p $$work; \
	  echo "== $$name for $(FUZZ_SECONDS)s"; \
	  $(FUZZ_BUILD)/bin/$$name -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 $$work $$corpus; \
	done

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails, naming the files, when a source is not as clang-format writes it.
format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
