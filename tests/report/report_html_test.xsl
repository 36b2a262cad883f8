<?xml version="1.0" encoding="UTF-8"?>
<!-- A small stand-in for the host's report stylesheet: titles, front matter and tables. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8"/>
  <xsl:template match="/report">
    <html>
      <head><title><xsl:value-of select="title"/></title></head>
      <body>
        <h1><xsl:value-of select="title"/></h1>
        <p class="when"><xsl:value-of select="date"/> <xsl:value-of select="time"/></p>
        <xsl:apply-templates select="frontmatter|table"/>
        <p class="elapsed"><xsl:value-of select="elapsed_time"/></p>
      </body>
    </html>
  </xsl:template>
  <xsl:template match="frontmatter">
    <p><b><xsl:value-of select="name"/></b>: <xsl:value-of select="file|text"/></p>
  </xsl:template>
  <xsl:template match="table">
    <table>
      <tr><th><xsl:value-of select="title"/></th></tr>
      <xsl:for-each select="row">
        <tr><xsl:for-each select="cell"><td><xsl:value-of select="."/></td></xsl:for-each></tr>
      </xsl:for-each>
    </table>
  </xsl:template>
</xsl:stylesheet>
