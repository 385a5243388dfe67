# Writes the yearly statistics of the sample edition from Debian's R data packages to
# CSV files in edition/sources/. Run by hand once (see edition/README.md); the edition
# build reads only the CSV files and needs no R.
#
#   Rscript edition/extract-sources.R [output folder]
#
# The data packages are read without loading them as R packages.

args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) >= 1) args[[1]] else "edition/sources"
dir.create(out, showWarnings = FALSE, recursive = TRUE)

load_data <- function(pkg) {
    e <- new.env()
    lazyLoad(file.path("/usr/lib/R/site-library", pkg, "data", "Rdata"), envir = e)
    e
}

# Every file starts with comment lines naming the source, its version and licence; the
# edition build skips lines that begin with "#".
write_source <- function(frame, file, notes) {
    path <- file.path(out, file)
    con <- file(path, open = "w", encoding = "UTF-8")
    writeLines(paste("#", notes), con)
    write.csv(frame, con, row.names = FALSE, na = "")
    close(con)
    cat(sprintf("%s: %d rows\n", path, nrow(frame)))
}

wdi <- load_data("WDI")$WDI_data
countries <- wdi$country
countries <- countries[countries$region != "Aggregates" & nchar(countries$iso3c) == 3, ]

# Penn World Table 9.1: one row per country and year.
pwt <- load_data("pwt9")$pwt9.1
pwt_vars <- c("rgdpe", "rgdpo", "rgdpna", "pop", "emp", "avh", "hc", "ck", "ctfp",
              "labsh", "xr", "csh_c", "csh_i", "csh_g", "csh_x", "csh_m", "pl_con")
pwt_out <- data.frame(iso3 = as.character(pwt$isocode), year = pwt$year)
for (v in pwt_vars) pwt_out[[v]] <- signif(pwt[[v]], 7)
write_source(pwt_out, "pwt91.csv", c(
    "Penn World Table 9.1 (Debian r-cran-pwt9, object pwt9.1)",
    "Feenstra, Robert C., Robert Inklaar and Marcel P. Timmer (2015), The Next Generation",
    "of the Penn World Table, American Economic Review 105(10), 3150-3182, www.ggdc.net/pwt",
    "Licence: CC BY 4.0"))

# Gapminder (dslabs): countries by English name; the names that the World Bank spells
# differently are mapped here.
gap <- load_data("dslabs")$gapminder
gap_names <- c(
    "Bahamas" = "BHS", "Brunei" = "BRN", "Cape Verde" = "CPV", "Egypt" = "EGY",
    "Gambia" = "GMB", "Hong Kong, China" = "HKG", "Iran" = "IRN", "South Korea" = "KOR",
    "Lao" = "LAO", "Macao, China" = "MAC", "Macedonia, FYR" = "MKD", "Russia" = "RUS",
    "Swaziland" = "SWZ", "Syria" = "SYR", "Turkey" = "TUR", "Venezuela" = "VEN",
    "Yemen" = "YEM")
name <- as.character(gap$country)
iso3 <- countries$iso3c[match(name, countries$country)]
iso3[is.na(iso3)] <- gap_names[name[is.na(iso3)]]
if (any(is.na(iso3))) stop("gapminder: unmapped countries: ",
                           paste(unique(name[is.na(iso3)]), collapse = ", "))
gap_out <- data.frame(iso3 = iso3, year = gap$year,
                      infant_mortality = gap$infant_mortality,
                      life_expectancy = gap$life_expectancy,
                      fertility = gap$fertility,
                      population = gap$population,
                      gdp = signif(gap$gdp, 7))
write_source(gap_out, "gapminder.csv", c(
    "Gapminder data as published in the R package dslabs 0.7 (Debian r-cran-dslabs,",
    "object gapminder): infant mortality, life expectancy, fertility, population,",
    "GDP in constant 2000 US dollars. Free data from www.gapminder.org",
    "Licence: CC BY 4.0 (Gapminder)"))

# World Bank population (tidyr): years are columns there, rows here.
tidyr <- load_data("tidyr")
wbp <- as.data.frame(tidyr$world_bank_pop)
years <- setdiff(names(wbp), c("country", "indicator"))
long <- do.call(rbind, lapply(years, function(y)
    data.frame(iso3 = wbp$country, indicator = wbp$indicator, year = as.integer(y),
               value = wbp[[y]])))
wide <- reshape(long, idvar = c("iso3", "year"), timevar = "indicator", direction = "wide")
names(wide) <- sub("^value\\.", "", names(wide))
wide <- wide[order(wide$iso3, wide$year), c("iso3", "year", "SP.POP.TOTL", "SP.POP.GROW",
                                            "SP.URB.TOTL", "SP.URB.GROW")]
for (v in c("SP.POP.GROW", "SP.URB.GROW")) wide[[v]] <- signif(wide[[v]], 6)
wide <- wide[wide$iso3 %in% countries$iso3c, ]
write_source(wide, "worldbank_pop.csv", c(
    "World Bank, World Development Indicators: population (SP.POP.TOTL, SP.POP.GROW,",
    "SP.URB.TOTL, SP.URB.GROW), as published in the R package tidyr (Debian r-cran-tidyr,",
    "object world_bank_pop). Source: The World Bank, data.worldbank.org",
    "Licence: CC BY 4.0"))

# The WHO's tuberculosis notifications (tidyr's object who) are not extracted: their
# licence (CC BY-NC-SA 3.0 IGO) forbids the commercial use that the edition's ODbL terms
# allow, and the series changes its definition in 2006.

# World Development Indicators metadata: capital, coordinates, region, income group.
wdi_out <- data.frame(iso3 = countries$iso3c, capital = countries$capital,
                      longitude = countries$longitude, latitude = countries$latitude,
                      region = countries$region, income = countries$income)
write_source(wdi_out, "wdi_countries.csv", c(
    "World Bank, World Development Indicators country metadata, as published in the",
    "R package WDI (Debian r-cran-wdi, WDI_data$country)",
    "Licence: CC BY 4.0"))
