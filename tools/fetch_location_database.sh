#!/usr/bin/env bash
# Fetches the offline IP database the program ships (ip2region 2.3.0's data/ip2region.db,
# MIT, from the npm registry) into third_party/ip2region/, checked against pinned checksums
# of the package and of the file. Does nothing when the file is there with its checksum.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
database=$root/third_party/ip2region/ip2region.db
url=https://registry.npmjs.org/ip2region/-/ip2region-2.3.0.tgz
package_sha256=1c5777cd2fde5dceab82de858c9a2cd20304b3d50a7b5a80c48d10706020bc11
database_sha256=3a8baab4f2e536a1c4a9be683cc81d563b0d4f942b304202be6f0d4aecc7f5d4

matches() { echo "$1  $2" | sha256sum --check --status; }
[[ -f $database ]] && matches "$database_sha256" "$database" && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
curl --fail --silent --show-error --location --retry 3 --max-time 300 -o "$work/package.tgz" "$url"
matches "$package_sha256" "$work/package.tgz" ||
  { echo "fetch_location_database: $url is not the pinned package" >&2; exit 1; }
tar -xzf "$work/package.tgz" -C "$work" package/data/ip2region.db
matches "$database_sha256" "$work/package/data/ip2region.db" ||
  { echo "fetch_location_database: the package's ip2region.db is not the pinned file" >&2; exit 1; }
mv "$work/package/data/ip2region.db" "$database"
