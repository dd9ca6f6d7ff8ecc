# make run   — install what is missing, build, open the desktop host on the demo database
#              (log in as Admin, empty password; ARGS="--db URL" for another database)
# make test  — install what is missing, build, run the whole suite on SQLite and PostgreSQL
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build test test-asan test-tsan ci bench run clean

deps:
	@scripts/install_deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@scripts/with_postgres.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Sanitizer builds of the tests (no host, no benchmarks); CI runs them after `make test`.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSLOWNIK_SANITIZE=address,undefined \
	  -DSLOWNIK_BUILD_HOST=OFF -DSLOWNIK_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  scripts/with_postgres.sh ctest --test-dir build-asan --output-on-failure -j $(JOBS)

test-tsan: deps
	@cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSLOWNIK_SANITIZE=thread \
	  -DSLOWNIK_BUILD_HOST=OFF -DSLOWNIK_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@TSAN_OPTIONS=halt_on_error=1 scripts/with_postgres.sh ctest --test-dir build-tsan --output-on-failure -L threads

ci: test test-asan test-tsan

bench: build
	@scripts/with_postgres.sh scripts/run_benchmarks.sh $(BUILD)

run: build
	@scripts/run_host.sh $(BUILD) $(ARGS)

clean:
	rm -rf $(BUILD) build-asan build-tsan
