<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CLIENT_KIND" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="0" CLIENT_KIND="その他公共機関"/>
<ROW CD="1" CLIENT_KIND="民間"/>
</ROWDATA>
</DATAPACKET>
