# Shared by the script tests: a scratch folder removed on exit, fail to
# count a problem and go on, and report to end with one summary line.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# report NAME: "NAME: ok" or the count of problems; the exit status says it.
report() {
  if [ $failures -eq 0 ]; then
    echo "$1: ok"
  else
    echo "$1: $failures problem(s)"
  fi
  [ $failures -eq 0 ]
}
