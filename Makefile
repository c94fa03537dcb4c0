# The two entry points: `make run ARGS="E:"` and `make test`.
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: deps build run test test-release test-asan format clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

run: build
	./build/release/app/quillmere $(ARGS)

test-release: build
	ctest --preset release -j $(JOBS)

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

test: test-release test-asan

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
